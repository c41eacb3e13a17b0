#include "export/VdEStat.h"

#include "core/Properties.h"
#include "export/ExCnst.h"

namespace VdExport {

const Vdei::TClassInfo& TfrmVdEProcess::StaticClassInfo() {
  static const Vdei::TClassInfo info =
      Vdei::ClassInfoBuilder<TfrmVdEProcess, Vdei::TProgressForm>("TfrmVdEProcess").Build();
  return info;
}

TfrmVdEProcess::TfrmVdEProcess(Vdei::TComponent* owner)
    : TProgressForm(owner, "frmVdEProcess", 87, 55, std::string(ExportMessage(SCancelCaption))) {
  SetFormStyle(Vdei::fsStayOnTop);
}

}  // namespace VdExport
