// INI files read with inih: section and key names compared without regard to
// letter case, values as text, integers in the forms the game's tools write.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>

// Calls visit for every section header (with an empty key and value) and every
// key=value line, in file order, with the section it stands in (names and
// values trimmed, raw bytes). Lines starting with ';' or
// '#' are comments; ';' inside a value is part of the value. Returning false
// from visit stops the parse.
void parseIni(const QByteArray &text,
              const std::function<bool(std::string_view section, std::string_view key, std::string_view value)> &visit);

// A whole number: an optional sign, then decimal digits, or hexadecimal digits
// after "$", "0x" or "0X". Anything else, or a number beyond 32 bits, is none.
std::optional<int> parseIniInteger(QStringView text);

// Text of an INI file as the program shows it: UTF-8 when the bytes are valid
// UTF-8, else the system's 8-bit code page.
QString decodeIniText(std::string_view bytes);

class IniFile {
public:
    IniFile() = default;
    static IniFile fromBytes(const QByteArray &text);
    // The file's content, or nothing when it cannot be read.
    static std::optional<IniFile> load(const QString &path);

    bool hasSection(const QString &section) const;
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // The keys of a section whose names start with prefix (letter case aside),
    // with their values; the keys as the file's letter case folded.
    QHash<QString, QString> keysStartingWith(const QString &section, const QString &prefix) const;
    // A value that is missing or not a whole number gives the fallback.
    int readInteger(const QString &section, const QString &key, int fallback) const;

private:
    // Case-folded section name -> case-folded key -> value. The first of two
    // equal keys in a section wins.
    QHash<QString, QHash<QString, QString>> m_sections;
};
