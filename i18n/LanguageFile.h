#pragma once
// The language file etibarix.lg: texts that replace the built-in ones, and
// the interface font.
//
// The first ten non-blank lines are a header: field 2 of line 1 goes to slot
// 301, field 2 of line 2 (the font name) to slot 302, field 2 of line 3 (the
// font's character-set number) to slot 303. Every further non-blank line is
// one entry: the n-th gives text n, field 2 unless it holds nothing but
// spaces and control characters, else field 1. Entries beyond 300 are
// ignored. Fields are separated by ';'. A UTF-8 file (byte-order mark, or
// valid UTF-8 with accents) is converted to the code page of its character
// set.

#include <QByteArray>
#include <QString>

#include <array>

namespace etibarix::i18n {

class TextFile;

class LanguageFile {
public:
    static constexpr int EntrySlots = 300;
    static constexpr int HeaderSlot = 301;
    static constexpr int FontNameSlot = 302;
    static constexpr int CharSetSlot = 303;
    static constexpr int SlotCount = 303;

    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName) { m_fileName = fileName; }

    // Reads the file; true (and Loaded()) when it was read to its end without
    // a read error. Never throws, never shows anything: a missing or
    // unreadable file just leaves Loaded() false.
    bool Load();
    bool Loaded() const { return m_loaded; }

    // Slot n (1..303); slot 303 as its decimal text. Empty outside 1..303.
    QByteArray GetText(int n) const;
    QByteArray FontName() const { return m_slots[FontNameSlot - 1]; }
    int CharSet() const { return m_charSet; }

    // The code page of a Windows font character-set number; nullptr for the
    // sets that are Windows-1252 here (ANSI, default, symbol) and unknown ones.
    static const char *CodePageOfCharSet(int charSet);

private:
    void readHeader(TextFile &reader);
    void readEntries(TextFile &reader);
    void convertFromUtf8();

    QString m_fileName;
    bool m_loaded = false;
    std::array<QByteArray, SlotCount> m_slots;   // slot 303 unused: see m_charSet
    int m_charSet = 0;
};

} // namespace etibarix::i18n
