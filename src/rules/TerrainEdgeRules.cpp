// The terrain edge rules and the line reader of the rules file, whose river
// and road sections fill the path rules beside them.
#include "rules/TerrainEdgeRules.h"

#include "rules/RulesReasons.h"

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

// What a section of the file is about.
enum class Kind : std::uint8_t { Terrain, River, Road };
constexpr int KindCount = 3;

constexpr const char *kindName(Kind kind)
{
    return kind == Kind::Terrain ? "terrain" : pathLayerName(kind == Kind::River ? PathLayer::River : PathLayer::Road);
}

// A section as the file names it, "terrain 3".
QString sectionName(Kind kind, std::uint8_t type)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(kindName(kind))).arg(type);
}

constexpr PathLayer pathLayerOf(Kind kind)
{
    return kind == Kind::River ? PathLayer::River : PathLayer::Road;
}

// One section while it is read. Rules of both shapes are kept by their
// pattern (the cared-for neighbours above the ones that must be same or
// join), so that a rule repeating an earlier one is found whatever its shape.
struct Section {
    int line = 0;
    Kind kind = Kind::Terrain;
    std::uint8_t type = 0;
    std::vector<std::uint8_t> groupTypes;  // "same =" or "joins ="
    std::vector<TerrainEdgeRules::Rule> terrainRules;
    std::vector<PathRules::Rule> pathRules;
    std::vector<std::pair<std::uint16_t, int>> patterns;  // (pattern, line) of every rule

    QString name() const { return sectionName(kind, type); }
};

// Refusals carry the line they are about; the first one ends the reading.
struct Fault {
    int line;
    Reason message;
};

TerrainEdgeRulesResult refusal(const Reason &why)
{
    return {std::nullopt, why, why.english()};
}

class RulesReader {
public:
    TerrainEdgeRulesResult read(const QByteArray &text)
    {
        if (text.size() > MaxTerrainEdgeRulesBytes)
            return refusal(tooLarge());
        QByteArray content = text;
        if (content.startsWith("\xEF\xBB\xBF"))
            content.remove(0, 3);
        const QList<QByteArray> lines = content.split('\n');
        for (qsizetype i = 0; i < lines.size() && !m_fault; ++i)
            readLine(int(i + 1), lines[i]);
        if (!m_fault)
            closeSection();
        if (m_fault)
            return refusal(Reason(reasons::RulesLine, {m_fault->line, m_fault->message}));
        if (!m_anyRule)
            return refusal(Reason(reasons::RulesNoRule));
        return {std::move(m_rules), {}, {}};
    }

    static Reason tooLarge() { return Reason(reasons::RulesTooLarge, {MaxTerrainEdgeRulesBytes}); }

private:
    void fail(int line, const Reason &message)
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

    // A type of the kind: terrain 0..9, rivers 1..4, roads 1..3.
    std::optional<std::uint8_t> typeOf(int line, Kind kind, const QByteArray &word)
    {
        const int first = kind == Kind::Terrain ? 0 : 1;
        const int last = kind == Kind::Terrain ? TerrainTypeCount - 1 : pathTypeCount(pathLayerOf(kind));
        const std::optional<int> value = number(word, last);
        if (!value || *value < first) {
            fail(line, Reason(reasons::RulesNotType, {QString::fromLatin1(word), kindName(kind), first, last}));
            return std::nullopt;
        }
        return std::uint8_t(*value);
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
            fail(line, Reason(reasons::RulesExpectedLine));
            return;
        }
        const QByteArray key = text.left(equals).trimmed().toLower();
        const QByteArray value = text.mid(equals + 1).trimmed();
        if (!m_section) {
            fail(line, Reason(reasons::RulesBeforeSection, {QString::fromLatin1(key)}));
            return;
        }
        const bool terrain = m_section->kind == Kind::Terrain;
        const QByteArray groupKey = terrain ? "same" : "joins";
        if (key == groupKey)
            readGroup(line, value);
        else if (key == "like")
            readLike(line, value);
        else if (key == "rule")
            readRule(line, value);
        else
            fail(line, Reason(reasons::RulesUnknownKey, {QString::fromLatin1(key), QString::fromLatin1(groupKey)}));
    }

    void openSection(int line, const QByteArray &text)
    {
        if (!text.endsWith(']')) {
            fail(line, Reason(reasons::RulesSectionEnd));
            return;
        }
        const QList<QByteArray> words = text.mid(1, text.size() - 2).simplified().split(' ');
        const QByteArray kindWord = words[0].toLower();
        const std::optional<Kind> kind = kindWord == "terrain" ? std::optional(Kind::Terrain)
            : kindWord == "river"                              ? std::optional(Kind::River)
            : kindWord == "road"                               ? std::optional(Kind::Road)
                                                               : std::nullopt;
        if (words.size() != 2 || !kind) {
            fail(line, Reason(reasons::RulesSectionName, {QString::fromLatin1(text)}));
            return;
        }
        const std::optional<std::uint8_t> type = typeOf(line, *kind, words[1]);
        if (!type)
            return;
        int &sectionLine = m_sectionLine[std::size_t(*kind)][*type];
        if (sectionLine != 0) {
            fail(line, Reason(reasons::RulesSectionTwice, {sectionName(*kind, *type), sectionLine}));
            return;
        }
        closeSection();
        sectionLine = line;
        m_section = Section{line, *kind, *type, {}, {}, {}, {}};
    }

    void closeSection()
    {
        if (!m_section)
            return;
        if (m_section->patterns.empty()) {
            fail(m_section->line, Reason(reasons::RulesNoRules, {m_section->name()}));
            return;
        }
        m_anyRule = true;
        if (m_section->kind == Kind::Terrain)
            m_rules.setTerrain(m_section->type, m_section->groupTypes, std::move(m_section->terrainRules));
        else
            m_rules.paths().setType(pathLayerOf(m_section->kind), m_section->type, m_section->groupTypes,
                                    std::move(m_section->pathRules));
        m_section.reset();
    }

    void readGroup(int line, const QByteArray &value)
    {
        for (const QByteArray &word : value.simplified().split(' ')) {
            const std::optional<std::uint8_t> type = typeOf(line, m_section->kind, word);
            if (!type)
                return;
            m_section->groupTypes.push_back(*type);
        }
    }

    void readLike(int line, const QByteArray &value)
    {
        const Kind kind = m_section->kind;
        const std::optional<std::uint8_t> type = typeOf(line, kind, value);
        if (!type)
            return;
        const bool hasRules =
            kind == Kind::Terrain ? m_rules.hasRules(*type) : m_rules.paths().hasRules(pathLayerOf(kind), *type);
        if (!hasRules) {
            fail(line, Reason(reasons::RulesNoRulesAbove, {sectionName(kind, *type)}));
            return;
        }
        if (kind == Kind::Terrain)
            for (const TerrainEdgeRules::Rule &rule : m_rules.rules(*type))
                addRule(line, rule);
        else
            for (const PathRules::Rule &rule : m_rules.paths().rules(pathLayerOf(kind), *type))
                addRule(line, rule);
    }

    // Checks what every rule must keep to, whatever its shape: pictures up
    // to the type's last, a pattern no earlier rule of the section has, and
    // the number of rules.
    bool acceptRule(int line, const std::vector<std::uint8_t> &pictures, std::uint16_t pattern)
    {
        const int highest = m_section->kind == Kind::Terrain ? maxTerrainSprite[m_section->type]
                                                             : pathLastPicture(pathLayerOf(m_section->kind));
        for (const std::uint8_t picture : pictures)
            if (picture > highest) {
                fail(line, Reason(reasons::RulesPictureBeyond, {int(picture), m_section->name(), highest}));
                return false;
            }
        const auto earlier = std::find_if(m_section->patterns.begin(), m_section->patterns.end(),
                                          [pattern](const auto &known) { return known.first == pattern; });
        if (earlier != m_section->patterns.end()) {
            fail(line, Reason(reasons::RulesRepeats, {earlier->second}));
            return false;
        }
        if (int(m_section->patterns.size()) == MaxTerrainEdgeRules) {
            fail(line, Reason(reasons::RulesTooMany, {m_section->name(), MaxTerrainEdgeRules}));
            return false;
        }
        m_section->patterns.emplace_back(pattern, line);
        return true;
    }

    void addRule(int line, const TerrainEdgeRules::Rule &rule)
    {
        if (acceptRule(line, rule.pictures, std::uint16_t(rule.careMask << 8 | rule.sameMask)))
            m_section->terrainRules.push_back(rule);
    }

    void addRule(int line, const PathRules::Rule &rule)
    {
        if (acceptRule(line, rule.pictures, std::uint16_t(rule.careMask << 8 | rule.joinMask)))
            m_section->pathRules.push_back(rule);
    }

    // PATTERN : PICTURES [: lr ud], the pattern of the section's kind.
    void readRule(int line, const QByteArray &value)
    {
        const QList<QByteArray> parts = value.split(':');
        if (parts.size() < 2 || parts.size() > 3) {
            fail(line, Reason(m_section->kind == Kind::Terrain ? reasons::RulesTerrainShape : reasons::RulesPathShape));
            return;
        }
        if (m_section->kind == Kind::Terrain) {
            TerrainEdgeRules::Rule rule;
            if (readNeighbourhood(line, parts[0], rule) && readPictures(line, parts[1], rule.pictures)
                && (parts.size() == 2 || readMirror(line, parts[2], MirrorBit::TerrainLeftRight, MirrorBit::TerrainUpsideDown, rule.mirror)))
                addRule(line, rule);
            return;
        }
        const PathLayer layer = pathLayerOf(m_section->kind);
        PathRules::Rule rule;
        if (readSides(line, parts[0], rule) && readPictures(line, parts[1], rule.pictures)
            && (parts.size() == 2 || readMirror(line, parts[2], pathLeftRightBit(layer), pathUpsideDownBit(layer), rule.mirror)))
            addRule(line, rule);
    }

    // The marks of a pattern with the blanks between them taken out.
    static QByteArray marksOf(const QByteArray &text)
    {
        QByteArray marks = text.simplified();
        marks.replace(' ', QByteArray());
        return marks;
    }

    // Sets the bits of one mark: "which" the mark that sets both masks' bit,
    // "other" the one that sets only the care bit.
    bool readMark(int line, char mark, int bit, char which, std::uint8_t &careMask, std::uint8_t &matchMask, const ReasonKind &notAMark)
    {
        if (mark == which) {
            careMask |= std::uint8_t(1u << bit);
            matchMask |= std::uint8_t(1u << bit);
        } else if (mark == 'o') {
            careMask |= std::uint8_t(1u << bit);
        } else if (mark != '*') {
            fail(line, Reason(notAMark, {QChar::fromLatin1(mark)}));
            return false;
        }
        return true;
    }

    // NNN W.E SSS
    bool readNeighbourhood(int line, const QByteArray &text, TerrainEdgeRules::Rule &rule)
    {
        QByteArray marks = marksOf(text);
        if (marks.size() != 9 || marks[4] != '.') {
            fail(line, Reason(reasons::RulesNeighbourhood, {QString::fromLatin1(text.trimmed())}));
            return false;
        }
        marks.remove(4, 1);
        for (int n = 0; n < TerrainEdgeRules::NeighbourCount; ++n)
            if (!readMark(line, marks[n], n, 's', rule.careMask, rule.sameMask, reasons::RulesNeighbourMark))
                return false;
        return true;
    }

    // N E S W
    bool readSides(int line, const QByteArray &text, PathRules::Rule &rule)
    {
        const QByteArray marks = marksOf(text);
        if (marks.size() != PathRules::SideCount) {
            fail(line, Reason(reasons::RulesSides, {QString::fromLatin1(text.trimmed())}));
            return false;
        }
        for (int side = 0; side < PathRules::SideCount; ++side)
            if (!readMark(line, marks[side], side, 'j', rule.careMask, rule.joinMask, reasons::RulesSideMark))
                return false;
        return true;
    }

    bool readPictures(int line, const QByteArray &text, std::vector<std::uint8_t> &pictures)
    {
        const QByteArray words = text.simplified();
        if (words.isEmpty()) {
            fail(line, Reason(reasons::RulesNoPicture));
            return false;
        }
        for (const QByteArray &word : words.split(' ')) {
            const std::optional<int> picture = number(word, 255);
            if (!picture) {
                fail(line, Reason(reasons::RulesPictureNumber, {QString::fromLatin1(word)}));
                return false;
            }
            pictures.push_back(std::uint8_t(*picture));
        }
        return true;
    }

    bool readMirror(int line, const QByteArray &text, std::uint8_t leftRight, std::uint8_t upsideDown, std::uint8_t &mirror)
    {
        const QByteArray words = text.simplified().toLower();
        if (words.isEmpty())
            return true;
        for (const QByteArray &word : words.split(' ')) {
            if (word == "lr")
                mirror |= leftRight;
            else if (word == "ud")
                mirror |= upsideDown;
            else {
                fail(line, Reason(reasons::RulesMirror, {QString::fromLatin1(word)}));
                return false;
            }
        }
        return true;
    }

    TerrainEdgeRules m_rules;
    std::optional<Section> m_section;
    std::array<std::array<int, TerrainTypeCount>, KindCount> m_sectionLine{};  // 0: no section yet
    std::optional<Fault> m_fault;
    bool m_anyRule = false;
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
        return refusal(Reason(reasons::RulesCannotRead, {path, Reason::plain(file.errorString())}));
    // One byte beyond the limit tells a file that is too large, whatever it
    // is (a device or a pipe has no size to ask for), without reading it all.
    const QByteArray text = file.read(MaxTerrainEdgeRulesBytes + 1);
    if (text.size() > MaxTerrainEdgeRulesBytes)
        return refusal(RulesReader::tooLarge());
    if (file.error() != QFileDevice::NoError)
        return refusal(Reason(reasons::RulesCannotRead, {path, Reason::plain(file.errorString())}));
    return parseTerrainEdgeRules(text);
}
