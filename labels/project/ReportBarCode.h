#pragma once
// The Code 128 barcode of a layout (TRaveCode128BarCode) as the project
// stores it. The symbol printed is that of the report parameter named by
// DataField ("param." + name), or of Text when no field is set.

#include "labels/code128/Code128BarCode.h"
#include "labels/project/LayoutFont.h"
#include "labels/project/ReportComponent.h"

namespace etibarix::labels {

class ReportBarCode : public ReportComponent {
public:
    static constexpr const char *ClassName = "TRaveCode128BarCode";

    ReportBarCode();

    QByteArray className() const override { return ClassName; }
    bool setProperty(QByteArrayView name, const ProjectValue &value) override;
    void print(PageSurface &page, const ReportProject &project) const override;

    // The drawing component with these properties, lengths in millimetres.
    Code128BarCode toCode128() const;

    // Lengths in inches.
    double barWidth = 0.01;
    double barHeight = 0.25;
    double barTop = 0;
    double wideFactor = 0;
    LayoutFont font;
    CodePage128 codePage = CodePage128::cpCodeA;
    bool optimize = true;
    bool useChecksum = false;
    bool printReadable = true;
    bool printChecksum = false;
    bool printTop = false;
    PrintJustify textJustify = PrintJustify::pjLeft;
    PrintJustify barCodeJustify = PrintJustify::pjLeft;
    BarRotation rotation = BarRotation::Rot0;
    bool autoSize = true;
    QByteArray dataField;
    QByteArray text;

    QByteArray value(const ReportProject &project) const;
};

} // namespace etibarix::labels
