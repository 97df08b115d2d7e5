// The settings store: a table of named items, each naming the INI section and
// key where its value lives and the text used when it is absent, and one
// accessor object that reads or writes the current item as text, integer or
// boolean. Every read and write opens the file afresh; nothing is cached,
// except inside a transaction: there the writes collect in a copy of the
// file in memory and reach the disk together, in one atomic replacement,
// so a save that is killed half-way leaves the old file, never a mixture.
//
// Errors: an unknown name or a store that cannot be made is reported through
// the error reporter (the window shows it in a message box) and the call goes
// on with the fallback. A write that cannot reach the file throws
// TRegWriteError, so the remaining writes of a save are not made.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum TRegType { rtReg = 0, rtIni = 1 };

struct TRegItem
{
    std::string Name;         // the key by which the program finds the item
    std::string Section;      // INI section, backslash and all
    std::string Ident;        // key within the section
    std::string DefaultValue; // text used when the key is absent
};

using TRegItems = std::vector<TRegItem>;

// Raised when the settings file cannot be written. what() (UTF-8) is the
// file path followed by " に書き込めません", then on a line of its own the same
// in English with the reason, and that this run's settings were not saved.
class TRegWriteError : public std::runtime_error
{
public:
    explicit TRegWriteError(const std::string &path, const std::string &reason = std::string());
    const std::string &path() const { return m_path; }
    const std::string &reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// Integer text as the settings have always accepted it: optional blanks, an
// optional sign, then decimal digits or hexadecimal after "$", "x" or "0x".
// Decimal must fit a 32-bit integer; hexadecimal may use all 32 bits
// ("$FFFFFFFF" is -1). Anything else, overflow included, is nullopt.
std::optional<int32_t> parseStoredInteger(std::string_view text);

class TRegManager;
class IniIndex;

class TRegFiler
{
public:
    explicit TRegFiler(TRegManager &manager)
        : m_manager(manager)
    {
    }
    virtual ~TRegFiler() = default;
    TRegFiler(const TRegFiler &) = delete;
    TRegFiler &operator=(const TRegFiler &) = delete;

    // The item the last FindFiler chose, or nullptr after an unknown name.
    const TRegItem *currentItem() const { return m_item ? &*m_item : nullptr; }
    void setCurrentItem(const TRegItem *item);

    // With no current item: reads give "", 0 and false; writes do nothing.
    virtual std::string ReadString();
    virtual void WriteString(const std::string &value);
    // Text that is not an integer reads as 0, not as the default.
    virtual int32_t ReadInteger();
    virtual void WriteInteger(int32_t value);
    // True when the low 8 bits of the stored integer are not zero; a default
    // of "1", "TRUE" or "YES" (any case) stands for 1, any other for 0.
    virtual bool ReadBool();
    virtual void WriteBool(bool value);

    // Default when Section or Ident is empty, when the store cannot be made
    // (reported), or when the file, section or key is missing. At most 2047
    // bytes of a stored value are returned.
    virtual std::string ReadValue(const std::string &section, const std::string &ident,
                                  const std::string &defaultValue);
    // Does nothing when Section or Ident is empty or the store cannot be made
    // (reported). Throws TRegWriteError when the file cannot be written; the
    // old file is then left as it was.
    virtual void WriteValue(const std::string &section, const std::string &ident,
                            const std::string &value);

private:
    TRegManager &m_manager;
    std::optional<TRegItem> m_item;
};

class TRegManager
{
public:
    using ErrorReporter = std::function<void(const std::string &)>;

    TRegManager();
    ~TRegManager();
    TRegManager(const TRegManager &) = delete;
    TRegManager &operator=(const TRegManager &) = delete;

    std::string IniFileName;  // full path of the INI file; set before the first read
    std::string RegDir;       // registry key; kept for the stored layout, unused here
    TRegItems RegItems;       // the table, in collection order
    TRegType RegType = rtIni; // only rtIni is backed by a store here

    // The first item whose Name matches without regard to case becomes the
    // filer's current item. An unknown name is reported as
    // "[' " + Name + " '] is invalid." and leaves the filer without an item;
    // the filer is returned either way.
    TRegFiler &FindFiler(std::string_view name);

    // The shared filer as it is, for sections outside the table that are
    // read and written by section and key (ReadValue, WriteValue).
    TRegFiler &Filer() { return *m_filer; }

    // Receives the texts of reported errors; the default writes them to stderr.
    void setErrorReporter(ErrorReporter reporter);
    void reportError(const std::string &message) const;

    // --- transactions: many writes, one change of the file -----------------
    // beginTransaction reads the file once; until the matching commit, every
    // WriteValue changes that copy by the same rules as a write to the file
    // (sections in the order first written, keys replaced where they stand,
    // every other line kept), and ReadValue sees the copy. Nested begins
    // join the outermost transaction: only its commit writes, only its
    // rollback drops the copy.
    void beginTransaction();
    // Replaces the file with the copy in one atomic step, when anything was
    // written. Throws TRegWriteError, leaving the old file whole; the
    // transaction is over either way.
    void commitTransaction();
    // Drops the copy: the file stays as it was before the transaction.
    void rollbackTransaction();
    bool inTransaction() const { return m_transaction.has_value(); }

    // --- one read for many items ---------------------------------------------
    // Between beginReading and endReading the file is read and parsed once,
    // and every ReadValue outside a transaction is answered from that copy,
    // with the same result a read of the file would give. The items' own
    // sections are answered from an index; name any other section the
    // reading will ask for, or each of its items walks the whole copy.
    void beginReading(const std::vector<std::string> &otherSections = {});
    void endReading() { m_reading.reset(); }

    // Removes the temporary files that saves of earlier, killed runs left
    // beside IniFileName. Call at start-up, before the first read.
    void removeStaleTemporaries() const;

private:
    friend class TRegFiler;

    struct Transaction
    {
        std::string path;    // IniFileName when it began
        std::string content; // the file as the transaction has changed it
        bool readable = true;
        std::string whyUnreadable;
        bool written = false;
        int depth = 1;
    };

    std::string readStored(const std::string &section, const std::string &ident,
                           const std::string &defaultValue) const;
    void writeStored(const std::string &section, const std::string &ident,
                     const std::string &value);

    std::unique_ptr<TRegFiler> m_filer;
    ErrorReporter m_report;
    std::optional<Transaction> m_transaction;
    std::shared_ptr<const IniIndex> m_reading; // empty: the file is read at each ReadValue
};

// Scope of one reading (beginReading to endReading).
class TRegReading
{
public:
    explicit TRegReading(TRegManager &store, const std::vector<std::string> &otherSections = {})
        : m_store(store)
    {
        m_store.beginReading(otherSections);
    }
    ~TRegReading() { m_store.endReading(); }
    TRegReading(const TRegReading &) = delete;
    TRegReading &operator=(const TRegReading &) = delete;

private:
    TRegManager &m_store;
};

// Scope of one transaction: begins it, and rolls it back unless commit()
// was called, so an exception between the writes leaves the file whole.
//     TRegTransaction save(store);
//     ...writes...
//     save.commit();
class TRegTransaction
{
public:
    explicit TRegTransaction(TRegManager &store)
        : m_store(store)
    {
        m_store.beginTransaction();
    }
    ~TRegTransaction()
    {
        if (!m_done)
            m_store.rollbackTransaction();
    }
    TRegTransaction(const TRegTransaction &) = delete;
    TRegTransaction &operator=(const TRegTransaction &) = delete;

    // Throws TRegWriteError (see TRegManager::commitTransaction).
    void commit()
    {
        m_done = true;
        m_store.commitTransaction();
    }

private:
    TRegManager &m_store;
    bool m_done = false;
};

} // namespace corvane
