// The settings store and its accessor: lookup by name, the text / integer /
// boolean conversions, and the INI-backed ReadValue / WriteValue.
#include "settings/TRegManager.h"

#include <iostream>

#include "settings/IniProfile.h"

namespace corvane {

namespace {

const char kNoIniStore[] = "can not create Inifile object.";
const char kNoRegistryStore[] = "can not create Registry object.";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string upperAscii(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

namespace {

std::string writeErrorText(const std::string &path, const std::string &reason)
{
    std::string text = path + " に書き込めません\n";
    text += "Cannot write the settings file " + path;
    if (!reason.empty())
        text += " (" + reason + ")";
    text += ". The settings of this run were not saved.";
    return text;
}

} // namespace

TRegWriteError::TRegWriteError(const std::string &path, const std::string &reason)
    : std::runtime_error(writeErrorText(path, reason))
    , m_path(path)
    , m_reason(reason)
{
}

std::optional<int32_t> parseStoredInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0'
               && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    // Decimal may reach 2^31 only as -2^31; hexadecimal spans all 32 bits.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = base == 16 ? hexDigit(text[i])
                                 : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (value > limit)
            return std::nullopt;
    }
    const uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

// --- TRegFiler ---------------------------------------------------------------

void TRegFiler::setCurrentItem(const TRegItem *item)
{
    if (item)
        m_item = *item;
    else
        m_item.reset();
}

std::string TRegFiler::ReadString()
{
    if (!m_item)
        return {};
    return ReadValue(m_item->Section, m_item->Ident, m_item->DefaultValue);
}

void TRegFiler::WriteString(const std::string &value)
{
    if (m_item)
        WriteValue(m_item->Section, m_item->Ident, value);
}

int32_t TRegFiler::ReadInteger()
{
    if (!m_item)
        return 0;
    return parseStoredInteger(ReadValue(m_item->Section, m_item->Ident, m_item->DefaultValue))
            .value_or(0);
}

void TRegFiler::WriteInteger(int32_t value)
{
    if (m_item)
        WriteValue(m_item->Section, m_item->Ident, std::to_string(value));
}

bool TRegFiler::ReadBool()
{
    if (!m_item)
        return false;
    const std::string upper = upperAscii(m_item->DefaultValue);
    const std::string fallback = (upper == "1" || upper == "TRUE" || upper == "YES") ? "1" : "0";
    const int32_t stored
            = parseStoredInteger(ReadValue(m_item->Section, m_item->Ident, fallback)).value_or(0);
    return (stored & 0xFF) != 0;
}

void TRegFiler::WriteBool(bool value)
{
    if (m_item)
        WriteValue(m_item->Section, m_item->Ident, value ? "1" : "0");
}

std::string TRegFiler::ReadValue(const std::string &section, const std::string &ident,
                                 const std::string &defaultValue)
{
    if (section.empty() || ident.empty())
        return defaultValue;
    if (m_manager.RegType == rtIni && !m_manager.IniFileName.empty())
        return m_manager.readStored(section, ident, defaultValue);
    m_manager.reportError(m_manager.RegType == rtIni ? kNoIniStore : kNoRegistryStore);
    return defaultValue;
}

void TRegFiler::WriteValue(const std::string &section, const std::string &ident,
                           const std::string &value)
{
    if (section.empty() || ident.empty())
        return;
    if (m_manager.RegType != rtIni || m_manager.IniFileName.empty()) {
        m_manager.reportError(m_manager.RegType == rtIni ? kNoIniStore : kNoRegistryStore);
        return;
    }
    m_manager.writeStored(section, ident, value);
}

// --- TRegManager -------------------------------------------------------------

std::string TRegManager::readStored(const std::string &section, const std::string &ident,
                                    const std::string &defaultValue) const
{
    if (!m_transaction && m_reading) {
        if (auto v = m_reading->find(section, ident))
            return std::move(*v);
        return defaultValue;
    }
    if (!m_transaction)
        return IniProfile(IniFileName).readString(section, ident, defaultValue);
    if (auto v = IniProfile::lookup(m_transaction->content, section, ident))
        return std::move(*v);
    return defaultValue;
}

void TRegManager::writeStored(const std::string &section, const std::string &ident,
                              const std::string &value)
{
    if (!m_transaction) {
        std::string why;
        if (!IniProfile(IniFileName).write(section, ident, value, &why))
            throw TRegWriteError(IniFileName, why);
        return;
    }
    Transaction &t = *m_transaction;
    // The first write fails as a direct write to this file would, so the
    // remaining writes of the save are not made.
    if (!t.readable)
        throw TRegWriteError(t.path, t.whyUnreadable);
    std::optional<std::string> updated = IniProfile::assign(t.content, section, ident, value);
    if (!updated)
        throw TRegWriteError(t.path, "the section or key name cannot be stored");
    t.content = std::move(*updated);
    t.written = true;
}

void TRegManager::beginTransaction()
{
    if (m_transaction) {
        ++m_transaction->depth;
        return;
    }
    Transaction t;
    t.path = IniFileName;
    if (!t.path.empty())
        t.readable = readWholeFile(t.path, t.content, &t.whyUnreadable) != FileReadResult::Failed;
    m_transaction = std::move(t);
}

void TRegManager::commitTransaction()
{
    if (!m_transaction)
        return;
    if (--m_transaction->depth > 0)
        return;
    const Transaction t = std::move(*m_transaction);
    m_transaction.reset();
    if (!t.written)
        return;
    std::string why;
    if (!writeFileAtomically(t.path, t.content, &why))
        throw TRegWriteError(t.path, why);
}

void TRegManager::rollbackTransaction()
{
    if (m_transaction && --m_transaction->depth <= 0)
        m_transaction.reset();
}

void TRegManager::beginReading(const std::vector<std::string> &otherSections)
{
    std::vector<std::string> sections = otherSections;
    for (const TRegItem &item : RegItems)
        sections.push_back(item.Section);
    // A file that cannot be read answers every item with its default, as
    // each read of it would.
    m_reading = std::make_shared<const IniIndex>(RegType == rtIni ? IniFileName : std::string(),
                                                 sections);
}

void TRegManager::removeStaleTemporaries() const
{
    if (RegType == rtIni && !IniFileName.empty())
        corvane::removeStaleTemporaries(IniFileName);
}

TRegManager::TRegManager()
    : m_filer(std::make_unique<TRegFiler>(*this))
{
}

TRegManager::~TRegManager() = default;

TRegFiler &TRegManager::FindFiler(std::string_view name)
{
    for (const TRegItem &item : RegItems) {
        if (IniProfile::namesEqual(item.Name, name)) {
            m_filer->setCurrentItem(&item);
            return *m_filer;
        }
    }
    reportError("[' " + std::string(name) + " '] is invalid.");
    m_filer->setCurrentItem(nullptr);
    return *m_filer;
}

void TRegManager::setErrorReporter(ErrorReporter reporter)
{
    m_report = std::move(reporter);
}

void TRegManager::reportError(const std::string &message) const
{
    if (m_report)
        m_report(message);
    else
        std::cerr << message << '\n';
}

} // namespace corvane
