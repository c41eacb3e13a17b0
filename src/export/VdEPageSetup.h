// TVdEPageSetup: page settings that an export component owns and copies in
// its Assign. No format of this system reads them; they are kept so that
// components keep all their settings when copied. Assign copies all eight.
#pragma once

#include "core/Object.h"

namespace VdExport {

enum TVdEMeasure { emPoint, emInch, emCentimeters, emPicas };
enum TVdEOrientation { emDefault, emPortrait, emLandscape };

class TVdEPageSetup : public Vdei::TPersistent {
 public:
  VDEI_CLASS(TVdEPageSetup)
  TVdEPageSetup() = default;

  TVdEMeasure Measure() const { return measure_; }
  void SetMeasure(TVdEMeasure value) { measure_ = value; }
  bool UseDefault() const { return useDefault_; }
  void SetUseDefault(bool value) { useDefault_ = value; }
  float TopMargin() const { return topMargin_; }
  void SetTopMargin(float value) { topMargin_ = value; }
  float BottomMargin() const { return bottomMargin_; }
  void SetBottomMargin(float value) { bottomMargin_ = value; }
  float LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(float value) { leftMargin_ = value; }
  float RightMargin() const { return rightMargin_; }
  void SetRightMargin(float value) { rightMargin_ = value; }
  float TableWidth() const { return tableWidth_; }
  void SetTableWidth(float value) { tableWidth_ = value; }
  TVdEOrientation Orientation() const { return orientation_; }
  void SetOrientation(TVdEOrientation value) { orientation_ = value; }

  void Assign(const Vdei::TPersistent& source) override;

 private:
  TVdEMeasure measure_ = emPoint;
  bool useDefault_ = true;
  float topMargin_ = 0;
  float bottomMargin_ = 0;
  float leftMargin_ = 0;
  float rightMargin_ = 0;
  float tableWidth_ = 0;
  TVdEOrientation orientation_ = emDefault;
};

}  // namespace VdExport
