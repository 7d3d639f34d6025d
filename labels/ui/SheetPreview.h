#pragma once
// A drawing of a sheet format: the page, every label's outline, and a sample
// barcode with its lines in each label, scaled to the widget. The format
// dialog redraws it on every change.

#include "labels/formats/SheetFormat.h"

#include <QWidget>

namespace etibarix::labels {

class SheetPreview : public QWidget {
    Q_OBJECT
public:
    explicit SheetPreview(QWidget *parent = nullptr);

    void setFormat(const SheetFormat &format);
    const SheetFormat &format() const { return m_format; }
    QSize sizeHint() const override { return {220, 300}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SheetFormat m_format;
};

} // namespace etibarix::labels
