// The error texts of the expression language, in one place so that they
// can be replaced. Texts with "%s" / "%d" are Format() patterns.
#pragma once

namespace VdImport {

// Tokens and trees.
inline constexpr const char* SIllegalCharacter =
    "Parse error: illegal character \"%s\" at position %d.";
inline constexpr const char* SParenthesisMismatch = "Compile error: parenthesis mismatch.";
inline constexpr const char* SFunctionParseError = "Function parse error.";
inline constexpr const char* SSyntaxFault = "Compile error: syntax fault.";
inline constexpr const char* SSyntaxTreeFault = "Calculate error: syntax tree fault.";
inline constexpr const char* STooManyArguments =
    "Function parse error: \"%s\" is called with more than 11 arguments.";
inline constexpr const char* SNestedTooDeeply = "Compile error: expression nested too deeply.";

// User-function definitions and calls.
inline constexpr const char* SFunctionNotValid = "Function \"%s\" is not valid.";
inline constexpr const char* SFunctionHeaderNotValid = "Function header \"%s\" is not valid.";
inline constexpr const char* SDelimiterExpected =
    "Function parse error: delimitor \",\" expected between arguments.";
inline constexpr const char* STooManyParameters =
    "Function header \"%s\" has more than 11 parameters.";
inline constexpr const char* SCallsTooDeep = "Calculate error: function \"%s\" nested too deeply.";

// Built-in functions.
inline constexpr const char* SOrdOfEmptyText = "Calculate error: ORD of an empty text.";
inline constexpr const char* SCharCodeOutOfRange =
    "Calculate error: %lld is not a character code (0 to 255).";
inline constexpr const char* SInvalidFloatOperation = "Invalid floating point operation";
inline constexpr const char* SFloatOverflow = "Floating point overflow";

}  // namespace VdImport
