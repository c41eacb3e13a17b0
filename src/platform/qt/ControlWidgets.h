// The widgets that show the controls of a form: one Qt widget per
// control, created for its class and kept in step with its model.
//
//   TPanel       QFrame (panel with its outer bevel, or no frame)
//   TLabel       QLabel (plain text, no word wrap, cut with an ellipsis
//                when too long: the whole text is then its tool tip)
//   TButton      QPushButton ("&" marks the mnemonic as in the model)
//   TProgressBar QProgressBar (range and position, no text)
//   TBevel       QFrame (raised or sunken panel or box; a line for the
//                top-line and bottom-line shapes)
//   TAnimate     FileCopyIndicator (moving while Active)
//   others       a plain QWidget
//
// Each widget's object name is the control's Name.
#pragma once

#include <QWidget>

#include "platform/Forms.h"

namespace Vdei {

// A new widget for control, a child of parent (which owns it).
QWidget* CreateControlWidget(const TControl& control, QWidget* parent);

// Copies control's state (bounds, visibility, font, texts and the state
// of its class) into widget, which CreateControlWidget made for it.
void SyncControlWidget(const TControl& control, QWidget* widget);

}  // namespace Vdei
