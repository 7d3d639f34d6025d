#pragma once
// Reader of delimited text files (the language file, CSV imports).
//
// Lines come out as Windows-1252 bytes. A Windows-1252 file is taken byte
// for byte; a UTF-8 file (see DetectTextEncoding) loses its byte-order mark
// and each line is converted, a character Windows-1252 cannot store becoming
// '?' and being reported for that line. A line ends at LF or CR LF; a CR anywhere else is dropped; a Ctrl-Z byte
// (0x1A) ends the file. Lines made only of spaces and tabs are skipped
// wherever they stand. Fields are split at the separator with no quoting and
// no trimming. The file is read through a fixed-size buffer, so memory stays
// bounded by the longest line whatever the size of the file.

#include "base/Error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace etibarix::i18n {

// Raised for every failure of TextFile; the text is the user's message.
class TextFileError : public base::Error {
public:
    using base::Error::Error;
};

enum class TextEncoding {
    Automatic,   // chosen per file by DetectTextEncoding
    Utf8,
    Windows1252,
};

// Utf8 for a file that starts with the UTF-8 byte-order mark, or that is
// valid UTF-8 (up to a Ctrl-Z) and holds at least one multi-byte sequence;
// Windows1252 for anything else, so that a file of plain ASCII or of
// Windows-1252 bytes is read as it always was. Throws TextFileError when the
// file cannot be opened or read.
TextEncoding DetectTextEncoding(const QString &name);

class TextFile {
public:
    static constexpr int MaxField = 255;

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // Read before Open: Automatic (the default) detects each file's encoding.
    void SetEncoding(TextEncoding encoding) { m_wantedEncoding = encoding; }
    // A UTF-8 file's lines stay UTF-8 bytes (its mark still dropped), for a
    // caller that converts them to another code page itself.
    void KeepUtf8() { m_keepUtf8 = true; }
    // The encoding the open file is read with (never Automatic once opened).
    TextEncoding Encoding() const { return m_encoding; }
    // The first character of the current line that Windows-1252 cannot store
    // (it reads as '?' in Line()); empty when every character converted.
    const QString &UnstorableCharacter() const { return m_unstorable; }

    // Opens name and reads its first non-blank line. Opening the file that is
    // already named does nothing; an empty name just closes.
    // Throws TextFileError when the file cannot be opened.
    void Open(const QString &name);
    // Reads the next non-blank line into Line(); false (and Line() empty) at
    // the end of the file. Throws TextFileError without an open file or on a
    // read error (the file is then closed).
    bool NextLine();
    // No more lines and the current line is blank.
    bool AtEnd() const;
    // Field k (1..255) of the current line; empty beyond the last field.
    QByteArray Field(int k) const;
    // The same split applied to any line (the import preview keeps lines and
    // splits them when a cell is shown).
    static QByteArray Field(QByteArrayView line, char separator, int k);
    void Close();

    const QString &FileName() const { return m_fileName; }
    const QByteArray &Line() const { return m_line; }
    char Separator() const { return m_separator; }
    void SetSeparator(char separator) { m_separator = separator; }
    bool IsOpen() const { return m_open; }
    // True when a Ctrl-Z ended the file before text that followed it (more
    // than blanks, line ends and further Ctrl-Z bytes): that text was never
    // read, which a caller may want to tell.
    bool TextAfterCtrlZ() const { return m_textAfterCtrlZ; }

    // Empty, or only spaces and tabs.
    static bool IsBlank(const QByteArray &line);

private:
    bool readPhysicalLine(QByteArray &line);
    void convertFromUtf8(QByteArray &line);
    bool fillBuffer();
    [[noreturn]] void raiseReadError(const QString &reason);

    QString m_fileName;
    char m_separator = ';';
    TextEncoding m_wantedEncoding = TextEncoding::Automatic;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    bool m_keepUtf8 = false;
    bool m_atFileStart = true;  // the byte-order mark can only stand there
    QString m_unstorable;
    QByteArray m_line;
    bool m_open = false;

    QFile m_file;
    QByteArray m_buffer;     // bytes read from the file, not yet consumed
    qsizetype m_pos = 0;     // first unconsumed byte of m_buffer
    bool m_eof = false;      // end of the file or a Ctrl-Z was reached
    bool m_textAfterCtrlZ = false;
};

} // namespace etibarix::i18n
