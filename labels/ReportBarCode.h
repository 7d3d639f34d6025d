#pragma once
// The Code 128 barcode of a layout (TRaveCode128BarCode) as the project
// stores it. The symbol printed is that of the report parameter named by
// DataField ("param." + name), or of Text when no field is set.

#include "labels/DataText.h"
#include "labels/LayoutFont.h"
#include "labels/ReportComponent.h"

namespace etibarix::labels {

class ReportBarCode : public ReportComponent {
public:
    static constexpr const char *ClassName = "TRaveCode128BarCode";

    enum class CodeSet { A, B, C };
    using Justify = DataText::Justify;

    ReportBarCode();

    QByteArray className() const override { return ClassName; }
    bool setProperty(QByteArrayView name, const ProjectValue &value) override;

    // Lengths in inches.
    double barWidth = 0.01;
    double barHeight = 0.25;
    double barTop = 0;
    double wideFactor = 0;
    LayoutFont font;
    CodeSet codePage = CodeSet::A;
    bool optimize = true;
    bool useChecksum = false;
    bool printReadable = true;
    bool printChecksum = false;
    bool printTop = false;
    Justify textJustify = Justify::Left;
    Justify barCodeJustify = Justify::Left;
    int rotation = 0; // degrees: 0, 90, 180, 270
    bool autoSize = true;
    QByteArray dataField;
    QByteArray text;

    QByteArray value(const ReportProject &project) const;
};

} // namespace etibarix::labels
