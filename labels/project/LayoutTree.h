#pragma once
// A project as an indented text tree, one line per report, page and
// component, lengths in millimetres. `etibarix-cli layouts` prints it; it
// also lets two projects be compared line by line.
//
//   project RaveProject
//     report etiquette1 Printer=
//       page Page1 PaperSize=-1 Width=215.90 Height=279.40
//         TRaveCode128BarCode Code128BarCode1 Left=16.00 Top=5.00 Width=50.80
//           Height=16.76 BarHeight=16.764 BarWidth=0.254 Font=Arial,8
//           DataField=param.cb1 PrintReadable=True AutoSize=True   (one line)
//         TRaveDataText DataText1 Left=... Font=Arial,10 DataField=param.cbliba1
//     globalpage GlobalPage1 PaperSize=9 Width=210.00 Height=297.00

#include "labels/project/ReportProject.h"

#include <QString>

namespace etibarix::labels {

class LayoutTree {
public:
    static QString describe(const ReportProject &project);
    static QString describeComponent(const ReportComponent &component);
};

} // namespace etibarix::labels
