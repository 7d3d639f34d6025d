#pragma once
// The production index of the table: a dBASE IV multiple-index (.mdx) file
// with a single character tag (its name and key expression given). Pages of 512 bytes, blocks of two pages,
// one B-tree node per block; leaf entries hold (record number, key) in the
// order of (key bytes, record number).
//
// The file is built in one go from all keys, and afterwards kept up to date in
// place: a key is inserted into its leaf, full nodes split, new blocks go to
// the end of the file. Blocks are cached (a bounded amount) and the blocks
// changed by appends are written together by flush(), at the latest when the
// index closes. Until then the file on disk is the index as of the last
// flush: it lacks the keys of the newest records, so after a crash its key
// count no longer matches the table and the next open rebuilds it. Changed
// keys of existing records, which a count would not reveal, are written at
// once.

#include "store/TableDefinition.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace etibarix::store {

class MdxIndex {
public:
    static constexpr int kBlockSize = 1024;
    static constexpr int kPageSize = 512;

    struct Entry {
        QByteArray key;
        std::uint32_t recNo = 0;
        friend bool operator==(const Entry &, const Entry &) = default;
    };

    MdxIndex() = default;
    ~MdxIndex();
    MdxIndex(const MdxIndex &) = delete;
    MdxIndex &operator=(const MdxIndex &) = delete;

    // The bytes of a freshly built index. `keys` holds count × keyLength
    // bytes, the key of record r at (r − 1) × keyLength. `tableName` is the
    // table's base name as stored in the header (upper case, no extension).
    static QByteArray build(QByteArrayView keys, int keyLength, const IndexTag &tag,
                            QByteArrayView tableName, QDate date);

    // Checks an index image against a table of `recordCount` records whose
    // keys are `keyLength` bytes: format fields, tree shape, key order and
    // one entry per record. On success returns the entries in index order
    // when `entries` is given. Never reads outside the image.
    static bool check(QByteArrayView image, QByteArrayView tagName, int keyLength, std::int64_t recordCount,
                      std::vector<Entry> *entries = nullptr, QString *why = nullptr);

    // Opens an existing file; false when it is missing, unreadable or fails
    // check() (the caller then rebuilds it).
    bool open(const QString &path, const IndexTag &tag, int keyLength, std::int64_t recordCount);
    // Writes a new file built from `keys` (replacing any file of that name)
    // and opens it. False when the file cannot be written.
    bool create(const QString &path, const IndexTag &tag, QByteArrayView keys, int keyLength,
                QByteArrayView tableName);
    // Writes pending blocks and closes; false when the writing failed.
    bool close();
    // Writes the blocks changed since the last flush, then the headers.
    bool flush();
    bool isOpen() const { return m_fd >= 0; }
    // Changes not yet written by flush().
    bool hasPending() const { return !m_dirty.empty() || m_headersDirty; }
    QString path() const { return m_path; }

    // In-place maintenance. False when the file cannot be written or is found
    // inconsistent; the caller then rebuilds it.
    bool insert(QByteArrayView key, std::uint32_t recNo);

    // Record numbers of the entries whose key begins with `prefix`, in
    // index order. False when the file is found inconsistent.
    bool recordsWithPrefix(QByteArrayView prefix, std::vector<std::uint32_t> &recNos);
    bool replace(QByteArrayView oldKey, QByteArrayView newKey, std::uint32_t recNo);

    // Forgets cached blocks, pending ones included, and reads the headers
    // again: another process changed the file and this one's changes are
    // already in it.
    void discardCache();
    // Whether the file's name now leads to another file (or none): another
    // process built the index anew.
    bool replacedOnDisk() const;

private:
    using Block = QByteArray;
    struct PathStep {
        std::uint32_t page;
        int child;   // index of the child taken; n = the last child
    };

    Block *block(std::uint32_t page);
    bool readBlock(std::uint32_t page, Block &into) const;
    // A leaf read once, as by a scan: from the cache when there, else read
    // into `scratch` and not kept (a scan would fill the cache with blocks
    // not wanted again).
    const char *leafOnce(std::uint32_t page, Block &scratch);
    bool writeBlock(std::uint32_t page, const Block &b);
    bool writeHeaders();
    std::uint32_t allocate();
    // Path from the root to the leaf where (key, ...) may stand: the first
    // child whose separator is >= key, or > key when `strict`.
    bool descend(QByteArrayView key, std::vector<PathStep> &path, bool strict);
    // Moves path to the next leaf in key order; false at the last leaf.
    bool nextLeaf(std::vector<PathStep> &path);
    // Inserts into the leaf at the end of path (or, when `scan`, a later
    // leaf holding equal keys with lower record numbers).
    bool insertAt(std::vector<PathStep> &path, QByteArrayView key, std::uint32_t recNo, bool scan);
    bool insertLeaf(std::vector<PathStep> &path, int pos, QByteArrayView key, std::uint32_t recNo);
    // Adds `right` after child `left` of the node at the end of path.
    bool insertChild(std::vector<PathStep> &path, QByteArrayView separator, std::uint32_t left,
                     std::uint32_t right);
    int compareEntry(const char *item, QByteArrayView key, std::uint32_t recNo) const;
    void touchDate();
    bool trimCache();

    int m_fd = -1;
    QString m_path;
    int m_keyLength = 0;
    int m_itemLength = 0;
    int m_maxKeys = 0;
    std::uint32_t m_tagPage = 0;
    QByteArray m_fileHeader;   // bytes 0..47 of the file
    QByteArray m_tagHeader;    // bytes 0..255 of the tag header block
    bool m_headersDirty = false;
    std::unordered_map<std::uint32_t, Block> m_cache;
    std::unordered_set<std::uint32_t> m_dirty;   // cached blocks not yet written
    // A look-aside in front of the cache, by page: every insert looks up
    // the same upper blocks again. Pointers into the cache stay valid until
    // a block leaves it, when this is forgotten.
    std::array<std::pair<std::uint32_t, Block *>, 64> m_recent{};
    void forgetRecent() { m_recent.fill({0, nullptr}); }
    void forgetBlocks()
    {
        m_cache.clear();
        m_dirty.clear();
        forgetRecent();
    }
    std::int64_t m_dateMinute = -1;
    char m_today[3] = {};
};

} // namespace etibarix::store
