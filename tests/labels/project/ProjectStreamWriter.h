#pragma once
// TEST-ONLY writer of report project streams, with a real LZW compressor,
// so that the reader can be checked by round trips and fed damaged streams.
// Header-only: the project tests and the project benchmark both use it.

#include "labels/project/DataText.h"
#include "labels/project/ReportBarCode.h"
#include "labels/project/ReportProject.h"

#include <QByteArray>

#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace etibarix::test {

// ---------------------------------------------------------------- LZW ------

struct LzwOptions {
    // Clear the dictionary once the decoder's last assigned number would
    // pass this (8190 is the largest the 13-bit decoder takes; a smaller
    // value forces clear codes in the middle of the data).
    int clearLimit = 8190;
    // Clear codes sent at the start and at every clear (several in a row).
    int clearsInARow = 1;
    // Never clear and keep 13 bits: makes the decoder overflow.
    bool overflow = false;
};

class BitWriter {
public:
    void put(int code, int width)
    {
        m_buffer = (m_buffer << width) | quint64(code);
        m_bits += width;
        while (m_bits >= 8) {
            m_bits -= 8;
            m_out.append(char((m_buffer >> m_bits) & 0xFF));
        }
        m_buffer &= (quint64(1) << m_bits) - 1;
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_out.append(char((m_buffer << (8 - m_bits)) & 0xFF));
        m_bits = 0;
        m_buffer = 0;
        return m_out;
    }

private:
    QByteArray m_out;
    quint64 m_buffer = 0;
    int m_bits = 0;
};

inline QByteArray lzwCompress(QByteArrayView data, const LzwOptions &options = {})
{
    BitWriter out;
    std::unordered_map<quint32, int> dictionary;
    int width = 9;
    int decoderLast = 257; // the decoder's last assigned number, mirrored
    int next = 258;
    bool firstAfterClear = true;

    const auto clear = [&] {
        // The first at the current width; the decoder reads the rest at 9 bits.
        for (int i = 0; i < options.clearsInARow; ++i)
            out.put(256, i == 0 ? width : 9);
        dictionary.clear();
        width = 9;
        decoderLast = 257;
        next = 258;
        firstAfterClear = true;
    };
    // Writes a code at the width the decoder reads it, and follows the
    // decoder's growth of the dictionary and of the width.
    const auto emit = [&](int code) {
        out.put(code, width);
        if (firstAfterClear) {
            firstAfterClear = false;
            return;
        }
        ++decoderLast;
        if (decoderLast == (1 << width) - 1 && width < 13)
            ++width;
    };

    clear();
    if (!data.isEmpty()) {
        int w = quint8(data[0]);
        for (qsizetype i = 1; i < data.size(); ++i) {
            const quint8 c = quint8(data[i]);
            const quint32 key = (quint32(w) << 8) | c;
            if (const auto it = dictionary.find(key); it != dictionary.end()) {
                w = it->second;
                continue;
            }
            emit(w);
            if (next < 8192)
                dictionary.emplace(key, next++);
            w = c;
            if (!options.overflow && !firstAfterClear && decoderLast + 1 > options.clearLimit)
                clear();
        }
        emit(w);
    }
    out.put(257, width);
    return out.finish();
}

// ------------------------------------------------------------- stream ------

class StreamWriter {
public:
    QByteArray bytes;

    StreamWriter &byte(int b)
    {
        bytes.append(char(b));
        return *this;
    }
    StreamWriter &raw(QByteArrayView b)
    {
        bytes.append(b);
        return *this;
    }
    StreamWriter &cint(quint32 v)
    {
        if (v < 0x80) {
            byte(int(v));
        } else if (v < 0x4000) {
            byte(int(0x80 + (v >> 8))).byte(int(v & 0xFF));
        } else if (v < 0x200000) {
            byte(int(0xC0 + (v >> 16))).byte(int((v >> 8) & 0xFF)).byte(int(v & 0xFF));
        } else {
            byte(int(0xE0 + (v >> 24))).byte(int((v >> 16) & 0xFF)).byte(int((v >> 8) & 0xFF)).byte(int(v & 0xFF));
        }
        return *this;
    }
    StreamWriter &int32(qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            byte(int((quint32(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    StreamWriter &string(QByteArrayView s)
    {
        cint(quint32(s.size()));
        return raw(s);
    }
    // 80-bit extended from a double: exact, as every double is an extended.
    StreamWriter &extended(double d)
    {
        unsigned char b[10] = {};
        if (d != 0) {
            quint64 bits;
            std::memcpy(&bits, &d, 8);
            const bool negative = bits >> 63;
            int e = int((bits >> 52) & 0x7FF);
            quint64 frac = bits & ((quint64(1) << 52) - 1);
            quint64 mantissa;
            int exponent;
            if (e == 0x7FF) { // infinity or NaN: the largest exponent, the fraction kept
                mantissa = (quint64(1) << 63) | (frac << 11);
                exponent = 0x7FFF;
            } else if (e == 0) { // subnormal double: normalise
                int shift = 0;
                while (!(frac & (quint64(1) << 52))) {
                    frac <<= 1;
                    ++shift;
                }
                mantissa = frac << 11;
                exponent = 1 - 1023 - shift + 16383;
            } else {
                mantissa = (frac | (quint64(1) << 52)) << 11;
                exponent = e - 1023 + 16383;
            }
            for (int i = 0; i < 8; ++i)
                b[i] = (mantissa >> (8 * i)) & 0xFF;
            b[8] = exponent & 0xFF;
            b[9] = ((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0);
        }
        return raw(QByteArrayView(reinterpret_cast<const char *>(b), 10));
    }
    StreamWriter &block(QByteArrayView data, int method = 2, const LzwOptions &options = {})
    {
        const QByteArray payload = method == 2 ? lzwCompress(data, options) : data.toByteArray();
        byte(method).int32(qint32(payload.size()));
        return raw(payload);
    }

    StreamWriter &value(const labels::ProjectValue &v)
    {
        using T = labels::ProjectValue::Type;
        byte(int(v.type));
        switch (v.type) {
        case T::Identifier:
        case T::String:
            string(v.text);
            break;
        case T::Integer:
            cint(quint32(v.integer));
            break;
        case T::NegativeInteger:
            cint(quint32(-v.integer));
            break;
        case T::Int32:
            int32(qint32(v.integer));
            break;
        case T::Char:
            raw(v.text.left(1));
            break;
        case T::Extended:
            extended(v.real);
            break;
        case T::Set:
        case T::Names:
            for (const QByteArray &n : v.names)
                string(n);
            byte(0);
            break;
        case T::List:
            properties(v.list);
            break;
        case T::Objects:
            for (const auto &o : v.objects) {
                string(o.className).byte(8);
                properties(o.properties);
            }
            byte(0);
            break;
        }
        return *this;
    }
    StreamWriter &properties(const std::vector<labels::ProjectProperty> &list)
    {
        for (const auto &p : list) {
            string(p.name);
            value(p.value);
        }
        return byte(0);
    }
};

// A component record with its children.
struct Record {
    QByteArray className;
    QByteArray name;
    std::vector<labels::ProjectProperty> properties;
    std::vector<Record> children;
};

inline void writeRecord(StreamWriter &w, const Record &r)
{
    w.byte(0).string(r.className).string(r.name).byte(8).properties(r.properties);
    w.cint(quint32(r.children.size()));
    for (const Record &c : r.children)
        writeRecord(w, c);
}

inline QByteArray recordBytes(const Record &r)
{
    StreamWriter w;
    writeRecord(w, r);
    return w.bytes;
}

// ----------------------------------------------- model -> property lists ---

inline labels::ProjectProperty prop(const char *name, labels::ProjectValue v)
{
    return {QByteArray(name), std::move(v)};
}

inline labels::ProjectValue fontValue(const labels::LayoutFont &f)
{
    using labels::ProjectValue;
    ProjectValue v;
    v.type = ProjectValue::Type::List;
    v.list.push_back(prop("Charset", ProjectValue::integerValue(f.charset)));
    v.list.push_back(prop("Color", ProjectValue::integerValue(f.color)));
    v.list.push_back(prop("Height", ProjectValue::integerValue(-qint64(std::lround(f.size * 96 / 72)))));
    v.list.push_back(prop("Name", ProjectValue::string(f.name)));
    v.list.push_back(prop("Size", ProjectValue::integerValue(qint64(f.size))));
    ProjectValue style;
    style.type = ProjectValue::Type::Set;
    if (f.bold)
        style.names.append("fsBold");
    if (f.italic)
        style.names.append("fsItalic");
    v.list.push_back(prop("Style", style));
    return v;
}

inline QByteArray justifyName(labels::PrintJustify j)
{
    return labels::DataText::justifyName(j);
}

// The record of a component as a writer stores it: ordinals only when they
// differ from a new component's, reals always, texts when not empty.
inline Record componentRecord(const labels::ReportComponent &c)
{
    using labels::ProjectValue;
    Record r{c.className(), c.name(), {}, {}};
    auto &p = r.properties;
    p.push_back(prop("Left", ProjectValue::extended(c.left())));
    p.push_back(prop("Top", ProjectValue::extended(c.top())));
    p.push_back(prop("Width", ProjectValue::extended(c.width())));
    p.push_back(prop("Height", ProjectValue::extended(c.height())));
    if (const auto *b = dynamic_cast<const labels::ReportBarCode *>(&c)) {
        const labels::ReportBarCode fresh;
        p.push_back(prop("AutoSize", ProjectValue::boolean(b->autoSize)));
        p.push_back(prop("BarHeight", ProjectValue::extended(b->barHeight)));
        p.push_back(prop("BarTop", ProjectValue::extended(b->barTop)));
        p.push_back(prop("BarWidth", ProjectValue::extended(b->barWidth)));
        p.push_back(prop("Font", fontValue(b->font)));
        if (b->codePage != fresh.codePage) {
            const char *names[] = {"cpCodeA", "cpCodeB", "cpCodeC"};
            p.push_back(prop("CodePage", ProjectValue::identifier(names[int(b->codePage)])));
        }
        if (b->optimize != fresh.optimize)
            p.push_back(prop("Optimize", ProjectValue::boolean(b->optimize)));
        if (b->useChecksum != fresh.useChecksum)
            p.push_back(prop("UseChecksum", ProjectValue::boolean(b->useChecksum)));
        if (b->printReadable != fresh.printReadable)
            p.push_back(prop("PrintReadable", ProjectValue::boolean(b->printReadable)));
        if (b->printTop != fresh.printTop)
            p.push_back(prop("PrintTop", ProjectValue::boolean(b->printTop)));
        if (b->textJustify != fresh.textJustify)
            p.push_back(prop("TextJustify", ProjectValue::identifier(justifyName(b->textJustify))));
        p.push_back(prop("WideFactor", ProjectValue::extended(b->wideFactor)));
        if (!b->dataField.isEmpty())
            p.push_back(prop("DataField", ProjectValue::string(b->dataField)));
        p.push_back(prop("Text", ProjectValue::string("123456789012")));
    } else if (const auto *t = dynamic_cast<const labels::DataText *>(&c)) {
        p.push_back(prop("Font", fontValue(t->font())));
        if (t->fontJustify() != labels::PrintJustify::pjLeft)
            p.push_back(prop("FontJustify", ProjectValue::identifier(justifyName(t->fontJustify()))));
        if (!t->truncate())
            p.push_back(prop("Truncate", ProjectValue::boolean(false)));
        if (!t->dataField().isEmpty())
            p.push_back(prop("DataField", ProjectValue::string(t->dataField())));
    }
    return r;
}

inline Record pageRecord(const labels::ReportPage &page)
{
    using labels::ProjectValue;
    Record r{"TRavePage", page.name(), {}, {}};
    if (page.paperSize() != labels::ReportPage::PaperLetter)
        r.properties.push_back(prop("PaperSize", ProjectValue::integerValue(page.paperSize())));
    r.properties.push_back(prop("PageWidth", ProjectValue::extended(page.pageWidth())));
    r.properties.push_back(prop("PageHeight", ProjectValue::extended(page.pageHeight())));
    r.properties.push_back(prop("Orientation", ProjectValue::identifier(page.orientation())));
    r.properties.push_back(prop("Bin", ProjectValue::integerValue(page.bin())));
    for (const auto &c : page.components())
        r.children.push_back(componentRecord(*c));
    return r;
}

inline Record projectRecord()
{
    using labels::ProjectValue;
    ProjectValue empty;
    empty.type = ProjectValue::Type::List;
    return Record{"TRaveProjectManager", "RaveProject",
                  {prop("CompileNeeded", ProjectValue::boolean(false)),
                   prop("FullName", ProjectValue::string("RaveProject")), prop("Categories", empty),
                   prop("Parameters", empty), prop("PIVars", empty),
                   prop("UnitsFactor", ProjectValue::extended(2.54))},
                  {}};
}

inline QByteArray header(int version = 40005, const QByteArray &lastActive = "Etiquette13")
{
    StreamWriter w;
    w.raw("RAV\x1A").int32(version).byte(0);
    if (version > 40004)
        w.cint(0);
    w.string(lastActive);
    writeRecord(w, projectRecord());
    return w.bytes;
}

// The data of a report item.
inline QByteArray reportData(const labels::Report &report, int method = 2, const LzwOptions &options = {},
                             int version = 40005)
{
    using labels::ProjectValue;
    StreamWriter w;
    if (version > 30003)
        w.string(report.lastActivePage());
    w.cint(quint32(report.pages().size()));
    for (const auto &page : report.pages())
        w.byte(0).string(page->name());
    w.cint(quint32(report.fixups().size()));
    for (const QByteArray &f : report.fixups())
        w.string(f);
    Record rec{"TRaveReport", report.name(), {}, {}};
    if (!report.printer().isEmpty())
        rec.properties.push_back(prop("Printer", ProjectValue::string(report.printer())));
    if (!report.pages().empty()) {
        rec.properties.push_back(
            prop("FirstPage", ProjectValue::identifier(report.name() + '.' + report.pages().front()->name())));
    }
    writeRecord(w, rec);
    for (const auto &page : report.pages())
        w.block(recordBytes(pageRecord(*page)), method, options);
    return w.bytes;
}

// A whole project stream of a model, every block compressed with `method`.
inline QByteArray projectStream(const labels::ReportProject &project, int method = 2,
                                const LzwOptions &options = {})
{
    StreamWriter w;
    w.raw(header(project.version(), project.lastActiveReport()));
    for (const auto &page : project.globalPages()) {
        w.byte(3).string(page->name());
        w.block(recordBytes(pageRecord(*page)), method, options);
    }
    for (const auto &report : project.reports()) {
        w.byte(4).string(report->name());
        w.block(reportData(*report, method, options, project.version()), method, options);
    }
    return w.bytes;
}

} // namespace etibarix::test
