// INI reading on top of inih.
#include "base/IniFile.h"

#include <QFile>
#include <QStringDecoder>

#include <ini.h>

#include <algorithm>
#include <limits>

namespace {

using Visitor = std::function<bool(std::string_view, std::string_view, std::string_view)>;

// inih reads through this line reader, which also reports every section header
// as it passes: inih itself only reports sections that hold keys.
struct LineReader {
    const char *next;
    const char *end;
    const Visitor *visit;
    bool stopped = false;
};

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

char *readLine(char *buffer, int size, void *stream)
{
    auto *reader = static_cast<LineReader *>(stream);
    if (reader->stopped || reader->next >= reader->end || size < 2)
        return nullptr;
    const char *lineEnd = std::find(reader->next, reader->end, '\n');
    if (lineEnd != reader->end)
        ++lineEnd;
    const auto length = std::min<std::ptrdiff_t>(lineEnd - reader->next, size - 1);
    const std::string_view line(reader->next, std::size_t(length));
    std::copy(line.begin(), line.end(), buffer);
    buffer[length] = '\0';
    reader->next += length;

    const std::string_view header = trimmed(line);
    if (header.size() >= 2 && header.front() == '[') {
        const auto close = header.find(']');
        if (close != std::string_view::npos && !(*reader->visit)(trimmed(header.substr(1, close - 1)), {}, {}))
            reader->stopped = true;
    }
    return buffer;
}

int onEntry(void *user, const char *section, const char *name, const char *value)
{
    auto *reader = static_cast<LineReader *>(user);
    // inih keeps blanks inside the brackets of a section header; names compare without them.
    if (!(*reader->visit)(trimmed(section), name, value ? value : "")) {
        reader->stopped = true;
        return 0;
    }
    return 1;
}

}  // namespace

void parseIni(const QByteArray &text, const Visitor &visit)
{
    // The settings and catalogue files know neither continuation lines nor
    // comments after a value; lines may be long.
    ini_allow_multiline = false;
    ini_allow_inline_comments = false;
    ini_stop_on_first_error = false;
    ini_use_stack = false;
    ini_allow_realloc = true;
    ini_max_line = 1 << 16;
    LineReader reader{text.constData(), text.constData() + text.size(), &visit};
    ini_parse_stream(readLine, &reader, onEntry, &reader);
}

std::optional<int> parseIniInteger(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    // Hexadecimal may use all 32 bits (wrapping into the sign); decimal must fit.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : quint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    quint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = QChar(text[i]).isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
            : base == 16 && text[i] >= u'a' && text[i] <= u'f'           ? text[i].unicode() - 'a' + 10
            : base == 16 && text[i] >= u'A' && text[i] <= u'F'           ? text[i].unicode() - 'A' + 10
                                                                          : -1;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    const auto value = static_cast<qint64>(magnitude);
    return static_cast<int>(static_cast<qint32>(negative ? -value : value));
}

QString decodeIniText(std::string_view bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

IniFile IniFile::fromBytes(const QByteArray &text)
{
    IniFile ini;
    parseIni(text, [&ini](std::string_view section, std::string_view key, std::string_view value) {
        auto &keys = ini.m_sections[decodeIniText(section).toCaseFolded()];
        if (key.empty())  // a section header
            return true;
        const QString foldedKey = decodeIniText(key).toCaseFolded();
        if (!keys.contains(foldedKey))
            keys.insert(foldedKey, decodeIniText(value));
        return true;
    });
    return ini;
}

std::optional<IniFile> IniFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromBytes(file.readAll());
}

bool IniFile::hasSection(const QString &section) const
{
    return m_sections.contains(section.toCaseFolded());
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const auto keys = m_sections.constFind(section.toCaseFolded());
    if (keys == m_sections.constEnd())
        return std::nullopt;
    const auto found = keys->constFind(key.toCaseFolded());
    if (found == keys->constEnd())
        return std::nullopt;
    return *found;
}

QHash<QString, QString> IniFile::keysStartingWith(const QString &section, const QString &prefix) const
{
    QHash<QString, QString> found;
    const QString folded = prefix.toCaseFolded();
    const QHash<QString, QString> keys = m_sections.value(section.toCaseFolded());
    for (auto key = keys.constBegin(); key != keys.constEnd(); ++key)
        if (key.key().startsWith(folded))
            found.insert(key.key(), key.value());
    return found;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    return value(section, key).value_or(fallback);
}

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    const std::optional<QString> text = value(section, key);
    if (!text)
        return fallback;
    return parseIniInteger(*text).value_or(fallback);
}
