// A small in-memory table with a field of every kind the writers and
// readers treat differently, shared by the export and import tests.
#pragma once

#include "core/Component.h"
#include "dataset/ClientDataSet.h"

namespace VdeiTest {

// Three records: the first with markup, line breaks and the bytes the
// export's EscapeText names; the second Null throughout but its name (an
// empty text) and its AutoInc; the third zeros and a date-time at midnight.
// Id is read-only; the cursor is on the first record.
Vdei::TClientDataSet* MakeAllTypesTable(Vdei::TComponent* owner);

}  // namespace VdeiTest
