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
//   TGroupBox    QGroupBox (the caption as its title)
//   TRadioGroup  RadioGroupBox (a group box of radio buttons)
//   TStatusBar   QStatusBar (SimpleText as its message)
//   TDBGridControl QTableView over a DataSetModel of its data source
//                (fixed row heights, no word wrap: cheap for any size)
//   others       a plain QWidget
//
// Each widget's object name is the control's Name; a disabled control's
// widget is disabled.
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
