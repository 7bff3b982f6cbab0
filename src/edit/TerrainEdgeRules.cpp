// The terrain edge rules and the line reader of the rules file.
#include "edit/TerrainEdgeRules.h"

#include <QFile>

#include <algorithm>
#include <utility>

void TerrainEdgeRules::setTerrain(std::uint8_t tertype, const std::vector<std::uint8_t> &sameTypes, std::vector<Rule> rules)
{
    std::array<bool, 256> &same = m_same[tertype];
    same.fill(false);
    same[tertype] = true;
    for (const std::uint8_t type : sameTypes)
        same[type] = true;

    m_rules[tertype] = std::move(rules);
    m_hasRules[tertype] = !m_rules[tertype].empty();
    const std::vector<Rule> &list = m_rules[tertype];
    std::vector<std::uint32_t> firstPicture;
    m_pictures[tertype].clear();
    for (const Rule &rule : list) {
        firstPicture.push_back(std::uint32_t(m_pictures[tertype].size()));
        m_pictures[tertype].insert(m_pictures[tertype].end(), rule.pictures.begin(), rule.pictures.end());
    }
    for (int mask = 0; mask < MaskCount; ++mask) {
        const auto found = std::find_if(list.begin(), list.end(), [mask](const Rule &rule) { return rule.matches(std::uint8_t(mask)); });
        const std::size_t index = std::size_t(found - list.begin());
        m_choice[tertype][mask] = found == list.end() ? NoRule : std::uint8_t(index);
        m_written[tertype][mask] = found == list.end()
            ? Choice()
            : Choice{firstPicture[index], std::uint32_t(found->pictures.size()), found->mirror};
    }
}

namespace {

static_assert(MaxTerrainEdgeRules < 0xFF, "a rule's index must fit beside the no-rule mark");

// One [terrain N] section while it is read.
struct Section {
    int line = 0;
    std::uint8_t tertype = 0;
    std::vector<std::uint8_t> sameTypes;
    std::vector<TerrainEdgeRules::Rule> rules;
};

// Refusals carry the line they are about; the first one ends the reading.
struct Fault {
    int line;
    QString message;
};

class RulesReader {
public:
    TerrainEdgeRulesResult read(const QByteArray &text)
    {
        QByteArray content = text;
        if (content.startsWith("\xEF\xBB\xBF"))
            content.remove(0, 3);
        const QList<QByteArray> lines = content.split('\n');
        for (qsizetype i = 0; i < lines.size() && !m_fault; ++i)
            readLine(int(i + 1), lines[i]);
        if (!m_fault)
            closeSection();
        if (m_fault)
            return {std::nullopt, QStringLiteral("line %1: %2").arg(m_fault->line).arg(m_fault->message)};
        return {std::move(m_rules), {}};
    }

private:
    void fail(int line, const QString &message)
    {
        if (!m_fault)
            m_fault = Fault{line, message};
    }

    // A plain decimal number no greater than limit, or none.
    static std::optional<int> number(const QByteArray &word, int limit)
    {
        if (word.isEmpty() || word.size() > 3 || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const int value = word.toInt();
        return value <= limit ? std::optional<int>(value) : std::nullopt;
    }

    std::optional<std::uint8_t> terrainType(int line, const QByteArray &word)
    {
        const std::optional<int> value = number(word, TerrainTypeCount - 1);
        if (!value)
            fail(line, QStringLiteral("\"%1\" is not a terrain type 0..%2").arg(QString::fromLatin1(word)).arg(TerrainTypeCount - 1));
        return value ? std::optional<std::uint8_t>(std::uint8_t(*value)) : std::nullopt;
    }

    void readLine(int line, const QByteArray &raw)
    {
        // A comment runs from ";" or "#" to the end of the line.
        const auto comment = std::find_if(raw.begin(), raw.end(), [](char c) { return c == ';' || c == '#'; });
        const QByteArray text = raw.left(comment - raw.begin()).trimmed();
        if (text.isEmpty())
            return;
        if (text.startsWith('[')) {
            openSection(line, text);
            return;
        }
        const qsizetype equals = text.indexOf('=');
        if (equals < 0) {
            fail(line, QStringLiteral("expected a [terrain N] section or a \"key = value\" line"));
            return;
        }
        const QByteArray key = text.left(equals).trimmed().toLower();
        const QByteArray value = text.mid(equals + 1).trimmed();
        if (!m_section) {
            fail(line, QStringLiteral("\"%1\" stands before the first [terrain N] section").arg(QString::fromLatin1(key)));
            return;
        }
        if (key == "same")
            readSame(line, value);
        else if (key == "like")
            readLike(line, value);
        else if (key == "rule")
            readRule(line, value);
        else
            fail(line, QStringLiteral("unknown key \"%1\" (expected same, like or rule)").arg(QString::fromLatin1(key)));
    }

    void openSection(int line, const QByteArray &text)
    {
        if (!text.endsWith(']')) {
            fail(line, QStringLiteral("a section name ends with \"]\""));
            return;
        }
        const QList<QByteArray> words = text.mid(1, text.size() - 2).simplified().split(' ');
        if (words.size() != 2 || words[0].toLower() != "terrain") {
            fail(line, QStringLiteral("expected a section [terrain N], not %1").arg(QString::fromLatin1(text)));
            return;
        }
        const std::optional<std::uint8_t> tertype = terrainType(line, words[1]);
        if (!tertype)
            return;
        if (m_sectionLine[*tertype] != 0) {
            fail(line, QStringLiteral("terrain %1 has a section already (line %2)").arg(*tertype).arg(m_sectionLine[*tertype]));
            return;
        }
        closeSection();
        m_sectionLine[*tertype] = line;
        m_section = Section{line, *tertype, {}, {}};
    }

    void closeSection()
    {
        if (!m_section)
            return;
        if (m_section->rules.empty()) {
            fail(m_section->line, QStringLiteral("terrain %1 has no rules").arg(m_section->tertype));
            return;
        }
        m_rules.setTerrain(m_section->tertype, m_section->sameTypes, std::move(m_section->rules));
        m_section.reset();
    }

    void readSame(int line, const QByteArray &value)
    {
        for (const QByteArray &word : value.simplified().split(' ')) {
            const std::optional<std::uint8_t> tertype = terrainType(line, word);
            if (!tertype)
                return;
            m_section->sameTypes.push_back(*tertype);
        }
    }

    void readLike(int line, const QByteArray &value)
    {
        const std::optional<std::uint8_t> tertype = terrainType(line, value);
        if (!tertype)
            return;
        if (!m_rules.hasRules(*tertype)) {
            fail(line, QStringLiteral("terrain %1 has no rules above this line").arg(*tertype));
            return;
        }
        for (const TerrainEdgeRules::Rule &rule : m_rules.rules(*tertype))
            addRule(line, rule);
    }

    void addRule(int line, const TerrainEdgeRules::Rule &rule)
    {
        const std::uint8_t highest = maxTerrainSprite[m_section->tertype];
        for (const std::uint8_t picture : rule.pictures)
            if (picture > highest) {
                fail(line, QStringLiteral("picture %1 is beyond terrain %2's last picture %3")
                               .arg(picture)
                               .arg(m_section->tertype)
                               .arg(highest));
                return;
            }
        if (int(m_section->rules.size()) == MaxTerrainEdgeRules) {
            fail(line, QStringLiteral("terrain %1 has more than %2 rules").arg(m_section->tertype).arg(MaxTerrainEdgeRules));
            return;
        }
        m_section->rules.push_back(rule);
    }

    // NNN W.E SSS : PICTURES [: lr ud]
    void readRule(int line, const QByteArray &value)
    {
        const QList<QByteArray> parts = value.split(':');
        if (parts.size() < 2 || parts.size() > 3) {
            fail(line, QStringLiteral("a rule is a neighbourhood, \":\", picture numbers, and optionally \":\" and mirror bits"));
            return;
        }
        TerrainEdgeRules::Rule rule;
        if (!readNeighbourhood(line, parts[0], rule) || !readPictures(line, parts[1], rule)
            || (parts.size() == 3 && !readMirror(line, parts[2], rule)))
            return;
        addRule(line, rule);
    }

    bool readNeighbourhood(int line, const QByteArray &text, TerrainEdgeRules::Rule &rule)
    {
        QByteArray marks = text.simplified();
        marks.replace(' ', QByteArray());
        if (marks.size() != 9 || marks[4] != '.') {
            fail(line, QStringLiteral("a neighbourhood is nine marks, the row above, the cell's row with \".\" in the "
                                      "middle, the row below, not \"%1\"")
                           .arg(QString::fromLatin1(text.trimmed())));
            return false;
        }
        marks.remove(4, 1);
        for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n) {
            const std::uint8_t bit = std::uint8_t(1u << n);
            switch (marks[n]) {
            case 's':
                rule.careMask |= bit;
                rule.sameMask |= bit;
                break;
            case 'o':
                rule.careMask |= bit;
                break;
            case '*':
                break;
            default:
                fail(line, QStringLiteral("\"%1\" is not a neighbour mark (s same, o other, * any)").arg(QChar::fromLatin1(marks[n])));
                return false;
            }
        }
        return true;
    }

    bool readPictures(int line, const QByteArray &text, TerrainEdgeRules::Rule &rule)
    {
        const QByteArray words = text.simplified();
        if (words.isEmpty()) {
            fail(line, QStringLiteral("a rule names at least one picture"));
            return false;
        }
        for (const QByteArray &word : words.split(' ')) {
            const std::optional<int> picture = number(word, 255);
            if (!picture) {
                fail(line, QStringLiteral("\"%1\" is not a picture number").arg(QString::fromLatin1(word)));
                return false;
            }
            rule.pictures.push_back(std::uint8_t(*picture));
        }
        return true;
    }

    bool readMirror(int line, const QByteArray &text, TerrainEdgeRules::Rule &rule)
    {
        const QByteArray words = text.simplified().toLower();
        if (words.isEmpty())
            return true;
        for (const QByteArray &word : words.split(' ')) {
            if (word == "lr")
                rule.mirror |= MirrorBit::TerrainLeftRight;
            else if (word == "ud")
                rule.mirror |= MirrorBit::TerrainUpsideDown;
            else {
                fail(line, QStringLiteral("\"%1\" is not a mirror bit (lr left-right, ud upside-down)").arg(QString::fromLatin1(word)));
                return false;
            }
        }
        return true;
    }

    TerrainEdgeRules m_rules;
    std::optional<Section> m_section;
    std::array<int, TerrainTypeCount> m_sectionLine{};  // 0: no section yet
    std::optional<Fault> m_fault;
};

}  // namespace

TerrainEdgeRulesResult parseTerrainEdgeRules(const QByteArray &text)
{
    return RulesReader().read(text);
}

TerrainEdgeRulesResult readTerrainEdgeRules(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    return parseTerrainEdgeRules(file.readAll());
}
