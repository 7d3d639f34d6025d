#pragma once
// The record table engine: one dBase III table file with its production
// index (the table's name with the extension MDX), opened shared, walked in
// record order. Which fields a new file has and which field the index keys
// on are given to it (TableDefinition).
//
// This header is the contract the query engine is written against; the
// implementation (Table.cpp, MdxIndex.*) fills it in.

#include "base/Error.h"
#include "store/TableDefinition.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace etibarix::store {

struct FieldAssignment {
    int field = -1;    // index into fields()
    FieldValue value;
};

// How the engine talks to the user without knowing about windows.
struct TableCallbacks {
    // A message box the engine shows on its own ("Could not create "%s"",
    // "Lock failed [%s]"). The GUI shows a box, the CLI prints to stderr.
    std::function<void(const QString &text)> message;
    // Index rebuild progress: begin(title) once, step(k) for k = 1..100, end().
    // title is "Indexing " + the index file's full name + "...".
    std::function<void(const QString &title)> indexBegin;
    std::function<void(int step)> indexStep;
    std::function<void()> indexEnd;
};

class Table {
public:
    explicit Table(TableDefinition definition);
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    const TableDefinition &definition() const;

    void setFileName(const QString &path);   // DbfFileName
    QString fileName() const;
    void setCallbacks(TableCallbacks callbacks);

    // Creates the file (and index) when missing, opens it shared, positions on
    // the first live record. Already open: nothing happens.
    // Throws base::Error("Dataset error: Error # <code> (<text>)\r\n<context>").
    void open();
    // Writes the header (and EOF marker) as its state requires; closes.
    void close();
    bool isOpen() const;

    const std::vector<FieldDef> &fields() const;
    int fieldIndex(QByteArrayView name) const;     // case-insensitive; -1 when absent

    // Walk of the live records in record order. The record count is refreshed
    // from the file length, so records appended behind the header are seen.
    void first();
    // The same walk started at record recNo (the first live one from there).
    void firstFrom(std::int64_t recNo);
    void next();
    bool eof() const;
    std::int64_t recNo() const;                    // 1-based position in the file

    // Current record's values. The view stays valid until the cursor moves
    // or the record changes.
    QByteArrayView text(int field) const;          // C: trailing blanks (and controls) removed
    std::int32_t integer(int field) const;         // N: blanks/asterisks read as 0

    // Appends a live record; fields not given are blank (C) or 0 (N).
    void append(std::span<const FieldAssignment> values);
    // Rewrites the current record in place; fields not given keep their value.
    void updateCurrent(std::span<const FieldAssignment> values);
    // Marks the current record deleted and moves to the next live record.
    void deleteCurrent();
    // These three write the record at once (the index follows at the next
    // walk or at close, see MdxIndex). When their lock cannot be had, message()
    // shows "Lock failed [Insert]" ("Post", "Delete") and base::Error is
    // thrown with the same text; nothing is written. updateCurrent and
    // deleteCurrent without a current record throw error 212. A text that
    // is no integer given to an N field throws before anything is written.

    // Changes whenever the table's content may have changed: every append,
    // update or delete through this object, and every change of the file
    // seen from outside (size or modification time differ from what this
    // object last wrote or saw). Lets callers cache answers such as max(num).
    std::uint64_t version() const;

    // Several programs may use the table at once. Every change is made while
    // the append region is held, so appends never collide. holdAppends()
    // keeps it across several steps — a number read from the table and the
    // record appended with it are then one step for every other program.
    // Holds nest; each holdAppends() needs its releaseAppends(). Held by
    // someone else for longer than a few seconds: "Lock failed [Insert]"
    // as for append().
    void holdAppends();
    void releaseAppends();
    // For a caller that holds the region over many steps, between two of
    // them: lets it go and takes it again, after another program that waits
    // for it has had it (waiting a short while at most). Not held
    // afterwards when taking it again fails ("Lock failed [Insert]").
    void passAppendsOn();
    // For a long run of appends under one hold: while on, the appends made
    // while holdAppends() holds the region wait in memory and go to the file
    // together — when writeAppends() is called, when the region is let go or
    // passed on, when a piece is full, and before anything reads the table.
    // writeAppends() returns how many of them could not be written (a full
    // disk: those that fit stay, the rest are taken back), with the error in
    // `why`; elsewhere that error is thrown.
    void setAppendsWrittenTogether(bool on);
    std::int64_t writeAppends(QString *why);

    // The numbers of the records whose `field` begins with `prefix`, in
    // record order, read from the production index (deleted records
    // included); nullopt when `field` is not the index key or the index
    // cannot be read now (the caller then walks).
    std::optional<std::vector<std::uint32_t>> recordsWithPrefix(int field, QByteArrayView prefix);
    // Visits the live records among `recNos` (ascending) in that order, each
    // made current for text() and integer() during `visit`.
    void visitRecords(std::span<const std::uint32_t> recNos, const std::function<void()> &visit);

    // Records in the file, deleted ones included, as last counted.
    std::int64_t recordCount() const;

    // A point in the table's history. appendedSince() tells whether the
    // table has since only grown at its end, by this or another program:
    // then it gives the first record that may be new (recordCount() + 1
    // when none is); otherwise 0, and any record may have changed.
    struct Mark {
        std::uint64_t version = 0;
        std::uint64_t opening = 0;
        std::int64_t records = 0;
        std::uint64_t rewrites = 0;
        std::uint64_t ownRewrites = 0;
        bool shared = false;
    };
    Mark mark() const;
    std::int64_t appendedSince(const Mark &mark) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace etibarix::store
