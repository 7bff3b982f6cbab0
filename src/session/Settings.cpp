// Reading "brackwen.ini": the options section and the language section.
#include "session/Settings.h"

#include "base/IniFile.h"
#include "base/Platform.h"
#include "check/Problem.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr InterfaceTexts::Entry textEntries[] = {
    {"maperr", &InterfaceTexts::maperr, "Map Error !"},
    {"bopenmap", &InterfaceTexts::bopenmap, "Open Map"},
    {"bsavemap", &InterfaceTexts::bsavemap, "Save Map"},
    {"bundo", &InterfaceTexts::bundo, "Undo"},
    {"bobstacles", &InterfaceTexts::bobstacles, "Obstacles"},
    {"lbmirror", &InterfaceTexts::lbmirror, "Mirror settings"},
    {"cbmirror", &InterfaceTexts::cbmirror, "Mirror mode"},
    {"cbmirror_s", &InterfaceTexts::cbmirror_s, "Set Mirror"},
    {"cbmirror_sm", &InterfaceTexts::cbmirror_sm, "Set marked"},
    {"cbbrushx", &InterfaceTexts::cbbrushx, "Brush width"},
    {"cbbrushy", &InterfaceTexts::cbbrushy, "Brush height"},
    {"cbtertype", &InterfaceTexts::cbtertype, "Terrain type"},
    {"cbterconf", &InterfaceTexts::cbterconf, "Terrain configuration"},
    {"cbrivtype", &InterfaceTexts::cbrivtype, "River type"},
    {"cbrivconf", &InterfaceTexts::cbrivconf, "River configuration"},
    {"cbroadtype", &InterfaceTexts::cbroadtype, "Road type"},
    {"cbroadconf", &InterfaceTexts::cbroadconf, "Road configuration"},
    {"cbmapsize", &InterfaceTexts::cbmapsize, "Map size"},
    {"notchange", &InterfaceTexts::notchange, "Not change"},
    {"notchng", &InterfaceTexts::notchng, "n/c"},
    {"cbmaplvl", &InterfaceTexts::cbmaplvl, "Map Level"},
    {"maplvl_gnd", &InterfaceTexts::maplvl_gnd, "Ground"},
    {"maplvl_str", &InterfaceTexts::maplvl_str, "Subterranean"},
    {"title", &InterfaceTexts::title, "Brackwen"},
    {"ternums", &InterfaceTexts::ternums, "RMC-terrnums"},
    {"bcopy", &InterfaceTexts::bcopy, "Copy Cells"},
    {"bpaste", &InterfaceTexts::bpaste, "Paste Cells"},
    {"dlgfilter", &InterfaceTexts::dlgfilter, "Valdris map"},
    {"noobstacles", &InterfaceTexts::noobstacles, "There is no battlefield on a cell"},
    {"shore", &InterfaceTexts::shore, "Shore"},
    {"cbrivtype_nr", &InterfaceTexts::cbrivtype_nr, "NoRiver"},
    {"cbrivtype_ar", &InterfaceTexts::cbrivtype_ar, "Any>River"},
    {"cbrivtype_cr", &InterfaceTexts::cbrivtype_cr, "River"},
    {"cbrivtype_ai", &InterfaceTexts::cbrivtype_ai, "Any>Ice"},
    {"cbrivtype_ir", &InterfaceTexts::cbrivtype_ir, "IceRiver"},
    {"cbrivtype_am", &InterfaceTexts::cbrivtype_am, "Any>Mud"},
    {"cbrivtype_mr", &InterfaceTexts::cbrivtype_mr, "MudRiver"},
    {"cbrivtype_al", &InterfaceTexts::cbrivtype_al, "Any>Lava"},
    {"cbrivtype_lr", &InterfaceTexts::cbrivtype_lr, "LavaRiver"},
    {"cbroadtype_nr", &InterfaceTexts::cbroadtype_nr, "NoRoad"},
    {"cbroadtype_ad", &InterfaceTexts::cbroadtype_ad, "Any>Dirt"},
    {"cbroadtype_dr", &InterfaceTexts::cbroadtype_dr, "DirtRoad"},
    {"cbroadtype_ag", &InterfaceTexts::cbroadtype_ag, "Any>Gravel"},
    {"cbroadtype_gr", &InterfaceTexts::cbroadtype_gr, "GravelRoad"},
    {"cbroadtype_as", &InterfaceTexts::cbroadtype_as, "Any>Stone"},
    {"cbroadtype_sr", &InterfaceTexts::cbroadtype_sr, "StoneRoad"},
    {"lbmirror_tv", &InterfaceTexts::lbmirror_tv, "Terrain vert"},
    {"lbmirror_th", &InterfaceTexts::lbmirror_th, "Terrain horz"},
    {"lbmirror_rv", &InterfaceTexts::lbmirror_rv, "River vert"},
    {"lbmirror_rh", &InterfaceTexts::lbmirror_rh, "River horz"},
    {"lbmirror_pv", &InterfaceTexts::lbmirror_pv, "Road vert"},
    {"lbmirror_ph", &InterfaceTexts::lbmirror_ph, "Road horz"},
    {"dlgok", &InterfaceTexts::dlgok, "OK"},
    {"dlgsave", &InterfaceTexts::dlgsave, "Save"},
    {"dlgdiscard", &InterfaceTexts::dlgdiscard, "Do&n't save"},
    {"dlgcancel", &InterfaceTexts::dlgcancel, "Cancel"},
    {"sizecut", &InterfaceTexts::sizecut,
     "Cells outside %1x%1 are not empty and will be lost. Change the size?"},
    {"nomemory", &InterfaceTexts::nomemory,
     "There is not enough memory for a map of %1x%1 cells; the map is unchanged."},
    {"openerr", &InterfaceTexts::openerr, "%1 could not be opened: %2"},
    {"spriteerr", &InterfaceTexts::spriteerr, "The tile pictures could not be loaded: %1"},
    {"saveerr", &InterfaceTexts::saveerr, "The map could not be saved to %1: %2"},
    {"overview", &InterfaceTexts::overview, "O&verview"},
    {"overviewwhole", &InterfaceTexts::overviewwhole, "&Whole level (a sample of its cells a pixel)"},
    {"exportmenu", &InterfaceTexts::exportmenu, "&Export picture..."},
    {"exporttitle", &InterfaceTexts::exporttitle, "Export picture"},
    {"exportcell", &InterfaceTexts::exportcell, "Cell size (pixels):"},
    {"exportsize", &InterfaceTexts::exportsize, "%1 x %2 pixels"},
    {"exporttoolarge", &InterfaceTexts::exporttoolarge, "At %1 pixels a cell the picture is too large; %2 pixels a cell fit."},
    {"exportmemory", &InterfaceTexts::exportmemory, "Not enough memory for the picture at %1 pixels a cell."},
    {"exportfailed", &InterfaceTexts::exportfailed, "The picture could not be written to %1: %2"},
    {"exportfilter", &InterfaceTexts::exportfilter, "PNG picture|*.png"},
    {"zoomin", &InterfaceTexts::zoomin, "Zoom &in"},
    {"zoomout", &InterfaceTexts::zoomout, "Zoom &out"},
    {"zoomreset", &InterfaceTexts::zoomreset, "&Actual size"},
    {"workopen", &InterfaceTexts::workopen, "Opening %1..."},
    {"worksave", &InterfaceTexts::worksave, "Saving %1..."},
    {"workresize", &InterfaceTexts::workresize, "Changing the map size..."},
    {"workfill", &InterfaceTexts::workfill, "Filling..."},
    {"menufile", &InterfaceTexts::menufile, "&File"},
    {"menuopen", &InterfaceTexts::menuopen, "&Open..."},
    {"menurecent", &InterfaceTexts::menurecent, "Open &Recent"},
    {"menusave", &InterfaceTexts::menusave, "&Save"},
    {"menusaveas", &InterfaceTexts::menusaveas, "Save &As..."},
    {"menuquit", &InterfaceTexts::menuquit, "&Quit"},
    {"menuedit", &InterfaceTexts::menuedit, "&Edit"},
    {"menuundostep", &InterfaceTexts::menuundostep, "&Undo step"},
    {"menuredostep", &InterfaceTexts::menuredostep, "&Redo step"},
    {"menuundocell", &InterfaceTexts::menuundocell, "Undo one &cell"},
    {"menucopy", &InterfaceTexts::menucopy, "&Copy"},
    {"menupaste", &InterfaceTexts::menupaste, "&Paste"},
    {"menuview", &InterfaceTexts::menuview, "&View"},
    {"menuotherlevel", &InterfaceTexts::menuotherlevel, "&Other level at this place"},
    {"menupanel", &InterfaceTexts::menupanel, "&Panel"},
    {"menunumbers", &InterfaceTexts::menunumbers, "Sprite &numbers"},
    {"menuobstwin", &InterfaceTexts::menuobstwin, "O&bstacles window"},
    {"menuhelp", &InterfaceTexts::menuhelp, "&Help"},
    {"menukeys", &InterfaceTexts::menukeys, "&Mouse and keys"},
    {"menuabout", &InterfaceTexts::menuabout, "&About"},
    {"msgsaved", &InterfaceTexts::msgsaved, "Saved %1"},
    {"msgmissing", &InterfaceTexts::msgmissing, "%1 no longer exists and was removed from the recent maps"},
    {"msgnounderground", &InterfaceTexts::msgnounderground, "This map has no underground level"},
    {"msgfillstopped", &InterfaceTexts::msgfillstopped, "The fill stopped at its first cell: %1 and %2 have a different number of pictures. Fill any terrain (F) replaces one with the other"},
    {"stselection", &InterfaceTexts::stselection, "Selection %1 x %2"},
    {"stterrain", &InterfaceTexts::stterrain, "%1, picture %2"},
    {"striver", &InterfaceTexts::striver, "river %1, picture %2"},
    {"stroad", &InterfaceTexts::stroad, "road %1, picture %2"},
    {"stmirror", &InterfaceTexts::stmirror, "mirror %1"},
    {"stbattlefield", &InterfaceTexts::stbattlefield, "battlefield: %1"},
    {"helpleft", &InterfaceTexts::helpleft, "Left button: select a cell; drag to select a rectangle"},
    {"helpright", &InterfaceTexts::helpright, "Right button: paint with the brush; drag to paint a stroke"},
    {"helpmiddle", &InterfaceTexts::helpmiddle, "Middle button: hide or show the panel"},
    {"helppanel", &InterfaceTexts::helppanel, "Right click on the panel: show or hide the sprite numbers"},
    {"helpwheel", &InterfaceTexts::helpwheel, "Wheel: scroll rows; Ctrl+wheel: scroll columns"},
    {"helparrows", &InterfaceTexts::helparrows, "Arrow keys: move the selected cell; Shift+arrows: extend the selection"},
    {"helpkeys", &InterfaceTexts::helpkeys, "Keys"},
    {"menuedgebrush", &InterfaceTexts::menuedgebrush, "&Edge brush"},
    {"menufixedges", &InterfaceTexts::menufixedges, "&Fix all edges"},
    {"msgedgerules", &InterfaceTexts::msgedgerules, "The edge rules could not be read: %1"},
    {"msgedgesfixed", &InterfaceTexts::msgedgesfixed, "%1 cells got new edges"},
    {"menupalette", &InterfaceTexts::menupalette, "Tool &palette"},
    {"toolbrush", &InterfaceTexts::toolbrush, "Brush"},
    {"toolfill", &InterfaceTexts::toolfill, "Fill any terrain"},
    {"toolpicker", &InterfaceTexts::toolpicker, "Picker"},
    {"toolselectsame", &InterfaceTexts::toolselectsame, "Select same"},
    {"toolroad", &InterfaceTexts::toolroad, "Road"},
    {"toolriver", &InterfaceTexts::toolriver, "River"},
    {"sttool", &InterfaceTexts::sttool, "Tool: %1"},
    {"menuselectall", &InterfaceTexts::menuselectall, "Select &all"},
    {"menudeselect", &InterfaceTexts::menudeselect, "&Deselect"},
    {"menufillselection", &InterfaceTexts::menufillselection, "Fill &selection"},
    {"menusmaller", &InterfaceTexts::menusmaller, "S&maller brush"},
    {"menularger", &InterfaceTexts::menularger, "&Larger brush"},
    {"menustatistics", &InterfaceTexts::menustatistics, "&Statistics"},
    {"statterrain", &InterfaceTexts::statterrain, "Terrain"},
    {"statrivers", &InterfaceTexts::statrivers, "Rivers"},
    {"statroads", &InterfaceTexts::statroads, "Roads"},
    {"statline", &InterfaceTexts::statline, "%1: %2 cells, %3 %"},
    {"msgfilled", &InterfaceTexts::msgfilled, "%1 cells filled"},
    {"msgselected", &InterfaceTexts::msgselected, "%1 cells selected"},
    {"helptools", &InterfaceTexts::helptools, "Tools, keys while the map has the focus: B brush, F fill any terrain, I picker, M select same, R road, W river; Shift with a fill or select same: the whole level; Ctrl with a road or river: erase; Alt+right click: pick; [ and ]: brush size"},
    {"menufixpaths", &InterfaceTexts::menufixpaths, "Fix all &roads and rivers"},
    {"msgnopathrules", &InterfaceTexts::msgnopathrules, "No rules are loaded for %1: it is laid with the panel's picture"},
    {"msgpathsfixed", &InterfaceTexts::msgpathsfixed, "%1 road and river pictures changed"},
    {"menusymmetry", &InterfaceTexts::menusymmetry, "S&ymmetry"},
    {"menunextsymmetry", &InterfaceTexts::menunextsymmetry, "&Next symmetry"},
    {"symoff", &InterfaceTexts::symoff, "Off"},
    {"symleftright", &InterfaceTexts::symleftright, "Left–right"},
    {"symtopbottom", &InterfaceTexts::symtopbottom, "Top–bottom"},
    {"symfourway", &InterfaceTexts::symfourway, "Four-way"},
    {"symhalfturn", &InterfaceTexts::symhalfturn, "Half turn"},
    {"symquarterturn", &InterfaceTexts::symquarterturn, "Quarter turn"},
    {"symdiagonal", &InterfaceTexts::symdiagonal, "Diagonal"},
    {"stsymmetry", &InterfaceTexts::stsymmetry, "Symmetry: %1"},
    {"menutransform", &InterfaceTexts::menutransform, "&Transform"},
    {"trfliph", &InterfaceTexts::trfliph, "Flip &left–right"},
    {"trflipv", &InterfaceTexts::trflipv, "Flip &top–bottom"},
    {"trturn90", &InterfaceTexts::trturn90, "Turn 90° &clockwise"},
    {"trturn180", &InterfaceTexts::trturn180, "Turn &180°"},
    {"trturn270", &InterfaceTexts::trturn270, "Turn 90° &anticlockwise"},
    {"trlevel", &InterfaceTexts::trlevel, "Whole level"},
    {"trselection", &InterfaceTexts::trselection, "Selection"},
    {"trclipboard", &InterfaceTexts::trclipboard, "Copied cells"},
    {"trmirrorleft", &InterfaceTexts::trmirrorleft, "&Mirror the left half onto the right"},
    {"trmirrortop", &InterfaceTexts::trmirrortop, "Mirror the top &half onto the bottom"},
    {"trmirrorright", &InterfaceTexts::trmirrorright, "Mirror the &right half onto the left"},
    {"trmirrorbottom", &InterfaceTexts::trmirrorbottom, "Mirror the &bottom half onto the top"},
    {"msgnoturnrules", &InterfaceTexts::msgnoturnrules, "No edge rules are loaded: the turned cells keep their pictures"},
    {"msgtransformed", &InterfaceTexts::msgtransformed, "%1 cells changed"},
    {"recovertitle", &InterfaceTexts::recovertitle, "Recover unsaved edits"},
    {"recovertext", &InterfaceTexts::recovertext, "%1 has unsaved edits, the last made %2. Recover them?"},
    {"recoverchanged", &InterfaceTexts::recoverchanged, "The file has changed since; the recovered map opens without a file (Save As asks for a name)."},
    {"recoverkept", &InterfaceTexts::recoverkept, "A save that did not finish damaged the file; Recover puts back the map as these edits began, kept in %1, and replays them on it."},
    {"dlgrecover", &InterfaceTexts::dlgrecover, "&Recover"},
    {"dlglater", &InterfaceTexts::dlglater, "&Later"},
    {"dlgdropedits", &InterfaceTexts::dlgdropedits, "D&iscard"},
    {"menubackup", &InterfaceTexts::menubackup, "Keep a &backup when saving"},
    {"msgjournalerr", &InterfaceTexts::msgjournalerr, "The edit journal could not be written: %1"},
    {"msgrecovered", &InterfaceTexts::msgrecovered, "%1 steps recovered"},
    {"msgsettings", &InterfaceTexts::msgsettings, "brackwen.ini: %1"},
    {"msgkeptoriginal", &InterfaceTexts::msgkeptoriginal, "A save of %1 did not finish; the map as it was before is kept in %2"},
    {"msgplaincolours", &InterfaceTexts::msgplaincolours, "%1; the map is drawn in plain colours"},
    {"msgexported", &InterfaceTexts::msgexported, "The picture was written to %1"},
    {"workedit", &InterfaceTexts::workedit, "Working…"},
    {"brushfill", &InterfaceTexts::brushfill, "fill"},
    {"msgjournalelsewhere", &InterfaceTexts::msgjournalelsewhere, "This map is open in another Brackwen; the edits made here go to a journal of their own, %1"},
    {"msgjournalrewritten", &InterfaceTexts::msgjournalrewritten, "The edit journal was deleted while in use; %1 was written anew with every edit since the map was opened or saved"},
    {"msgjournaldamaged", &InterfaceTexts::msgjournaldamaged, "A damaged edit journal was moved aside to %1: %2"},
    {"recoverdamaged", &InterfaceTexts::recoverdamaged, "The journal is damaged (%1) and was moved aside to %2. Recover brings back the %3 steps before the damage; brackwen-cli can read the rest."},
    {"menugenerate", &InterfaceTexts::menugenerate, "&Generate terrain…"},
    {"gentitle", &InterfaceTexts::gentitle, "Generate terrain"},
    {"genseed", &InterfaceTexts::genseed, "Seed"},
    {"gennewseed", &InterfaceTexts::gennewseed, "&New seed"},
    {"gencopyseed", &InterfaceTexts::gencopyseed, "&Copy"},
    {"gensymmetry", &InterfaceTexts::gensymmetry, "S&ymmetry"},
    {"gensides", &InterfaceTexts::gensides, "%1 players' sides"},
    {"genstyle", &InterfaceTexts::genstyle, "&Land"},
    {"stylecontinent", &InterfaceTexts::stylecontinent, "Continent"},
    {"styleislands", &InterfaceTexts::styleislands, "Islands"},
    {"stylelakes", &InterfaceTexts::stylelakes, "Lakes"},
    {"stylecoast", &InterfaceTexts::stylecoast, "Coast"},
    {"genwater", &InterfaceTexts::genwater, "&Water share"},
    {"genmix", &InterfaceTexts::genmix, "Terrain &mix"},
    {"mixtemperate", &InterfaceTexts::mixtemperate, "Temperate"},
    {"mixnorthern", &InterfaceTexts::mixnorthern, "Northern"},
    {"mixdesert", &InterfaceTexts::mixdesert, "Desert"},
    {"mixmarsh", &InterfaceTexts::mixmarsh, "Marsh"},
    {"mixvolcanic", &InterfaceTexts::mixvolcanic, "Volcanic"},
    {"mixunderground", &InterfaceTexts::mixunderground, "Underground"},
    {"genrough", &InterfaceTexts::genrough, "R&ough or rock share"},
    {"genrivers", &InterfaceTexts::genrivers, "&Rivers for each side"},
    {"genroads", &InterfaceTexts::genroads, "Roa&ds"},
    {"roadsnone", &InterfaceTexts::roadsnone, "None"},
    {"roadsplayers", &InterfaceTexts::roadsplayers, "Between the start zones"},
    {"roadscentre", &InterfaceTexts::roadscentre, "From the start zones to the centre"},
    {"genlevel", &InterfaceTexts::genlevel, "Le&vel"},
    {"levelsurface", &InterfaceTexts::levelsurface, "Surface"},
    {"levelunderground", &InterfaceTexts::levelunderground, "Underground (caverns)"},
    {"genbutton", &InterfaceTexts::genbutton, "&Generate"},
    {"genprogress", &InterfaceTexts::genprogress, "Generating terrain…"},
    {"genbadseed", &InterfaceTexts::genbadseed, "Seed: a whole number from 0 to 4294967295"},
    {"gennolevel", &InterfaceTexts::gennolevel, "Level: the map has no underground"},
    {"gensmall", &InterfaceTexts::gensmall, "The map is too small: at least %1 cells a side"},
    {"genwaterrange", &InterfaceTexts::genwaterrange, "Water share: %1 allows %2 to %3 %"},
    {"genoneside", &InterfaceTexts::genoneside, "Roads: without symmetry there is one side, and no other start zone to join"},
    {"genwatermissed", &InterfaceTexts::genwatermissed, "Water share: the land the start zones and roads need leaves it more than %1 points away"},
    {"genrules", &InterfaceTexts::genrules, "The rules file has no picture for some cells of this level"},
    {"msggenerated", &InterfaceTexts::msggenerated, "Terrain generated: %1 cells changed"},
    {"menuproblems", &InterfaceTexts::menuproblems, "&Problems"},
    {"menunextproblem", &InterfaceTexts::menunextproblem, "Ne&xt problem"},
    {"menuprevproblem", &InterfaceTexts::menuprevproblem, "Pre&vious problem"},
    {"menuproblemmarks", &InterfaceTexts::menuproblemmarks, "Problem &marks"},
    {"stproblems", &InterfaceTexts::stproblems, "Problems: %1"},
    {"probkind", &InterfaceTexts::probkind, "Kind"},
    {"probcell", &InterfaceTexts::probcell, "Cell"},
    {"probreason", &InterfaceTexts::probreason, "Reason"},
    {"kindterrainpicture", &InterfaceTexts::kindterrainpicture, "Terrain picture"},
    {"kindriverpiece", &InterfaceTexts::kindriverpiece, "River piece"},
    {"kindroadpiece", &InterfaceTexts::kindroadpiece, "Road piece"},
    {"kindnorule", &InterfaceTexts::kindnorule, "No rule fits"},
    {"kindriverend", &InterfaceTexts::kindriverend, "River end"},
    {"kindroadend", &InterfaceTexts::kindroadend, "Road end"},
    {"kindriverjoin", &InterfaceTexts::kindriverjoin, "River join"},
    {"kindroadjoin", &InterfaceTexts::kindroadjoin, "Road join"},
    {"kindmirror", &InterfaceTexts::kindmirror, "Unlike its mirror"},
    {"probpicture", &InterfaceTexts::probpicture, ProblemWords::Picture},
    {"probnorule", &InterfaceTexts::probnorule, ProblemWords::NoRule},
    {"probend", &InterfaceTexts::probend, ProblemWords::End},
    {"probjoin", &InterfaceTexts::probjoin, ProblemWords::Join},
    {"probmirror", &InterfaceTexts::probmirror, ProblemWords::Mirror},
    {"probterrain", &InterfaceTexts::probterrain, ProblemWords::Terrain},
    {"probriver", &InterfaceTexts::probriver, ProblemWords::River},
    {"probroad", &InterfaceTexts::probroad, ProblemWords::Road},
    {"probnorth", &InterfaceTexts::probnorth, ProblemWords::North},
    {"probeast", &InterfaceTexts::probeast, ProblemWords::East},
    {"probsouth", &InterfaceTexts::probsouth, ProblemWords::South},
    {"probwest", &InterfaceTexts::probwest, ProblemWords::West},
    {"probnone", &InterfaceTexts::probnone, ProblemWords::None},
    {"probtypes", &InterfaceTexts::probtypes, ProblemWords::Types},
    {"probpictures", &InterfaceTexts::probpictures, ProblemWords::Pictures},
    {"stattitle", &InterfaceTexts::stattitle, "%1, %2"},
    {"statcounts", &InterfaceTexts::statcounts, "Counts"},
    {"statfairness", &InterfaceTexts::statfairness, "Fairness"},
    {"statsides", &InterfaceTexts::statsides, "Sides of"},
    {"statshared", &InterfaceTexts::statshared, "%1 cells on the mirror lines belong to no side"},
    {"statdifference", &InterfaceTexts::statdifference, "Difference"},
    {"sidewhole", &InterfaceTexts::sidewhole, "Whole level"},
    {"sideleft", &InterfaceTexts::sideleft, "Left"},
    {"sideright", &InterfaceTexts::sideright, "Right"},
    {"sidetop", &InterfaceTexts::sidetop, "Top"},
    {"sidebottom", &InterfaceTexts::sidebottom, "Bottom"},
    {"sidetopleft", &InterfaceTexts::sidetopleft, "Top left"},
    {"sidetopright", &InterfaceTexts::sidetopright, "Top right"},
    {"sidebottomleft", &InterfaceTexts::sidebottomleft, "Bottom left"},
    {"sidebottomright", &InterfaceTexts::sidebottomright, "Bottom right"},
    {"figwater", &InterfaceTexts::figwater, "Water share, %"},
    {"figroadlength", &InterfaceTexts::figroadlength, "Road length"},
    {"figregions", &InterfaceTexts::figregions, "Land regions"},
    {"figlargest", &InterfaceTexts::figlargest, "Largest land region"},
    {"figjoins", &InterfaceTexts::figjoins, "Land joins other sides"},
    {"keyescape", &InterfaceTexts::keyescape, "Leave the picker, end the drag"},
    {"tippickhold", &InterfaceTexts::tippickhold, "Hold I and right-click to pick with any tool, or Alt with a right click"},
    {"stregion", &InterfaceTexts::stregion, "Selection %1 cells in %2 x %3"},
    {"msgrecoverlater", &InterfaceTexts::msgrecoverlater, "The unsaved edits of %1 are kept for the next start"},
    {"menuhistory", &InterfaceTexts::menuhistory, "&History"},
    {"histopened", &InterfaceTexts::histopened, "Opened %1"},
    {"histcells", &InterfaceTexts::histcells, "%1, %2 cells"},
    {"histpartly", &InterfaceTexts::histpartly, "%1, %2 of %3 cells"},
    {"histsize", &InterfaceTexts::histsize, "Map size %1 → %2"},
    {"histbrushfill", &InterfaceTexts::histbrushfill, "Brush fill"},
    {"histflipdiagonal", &InterfaceTexts::histflipdiagonal, "Flip across the diagonal"},
    {"histrecovered", &InterfaceTexts::histrecovered, "Recovered edits"},
};

}  // namespace

InterfaceTexts::InterfaceTexts()
{
    for (const Entry &entry : textEntries)
        this->*entry.text = QString::fromUtf8(entry.builtIn);
}

std::span<const InterfaceTexts::Entry> InterfaceTexts::entries()
{
    return textEntries;
}

QString aboutText(const QString &title, const QString &language, const char *version, const char *author,
                  const char *webPage)
{
    const QString named = title + " v" + version;
    if (language == QLatin1String("russian"))
        return named + QString::fromUtf8(", Написал ") + author + "\r" + QString::fromUtf8("Желаете посетить ")
            + webPage + QString::fromUtf8(" для справки или апдейта? ");
    return named + ", Created by " + author + "\r" + "Wish to visit " + webPage + " and get info or updates? ";
}

ObstacleCaptionTexts obstacleCaptionTexts(const InterfaceTexts &texts)
{
    ObstacleCaptionTexts caption{texts.bobstacles, texts.noobstacles, texts.shore, {}};
    std::copy_n(texts.terrain.begin(), caption.terrain.size(), caption.terrain.begin());
    return caption;
}

QString withTrailingSeparator(const QString &folder)
{
    if (folder.size() > 3 && !platform::isPathSeparator(folder.back()))
        return folder + platform::PathSeparator;
    return folder;
}

SettingsAndTexts loadSettingsAndTexts(const QString &path)
{
    SettingsAndTexts result;
    QStringList &problems = result.problems;
    if (!QFileInfo::exists(path))
        return result;
    const std::optional<IniFile> ini = QFileInfo(path).isFile() ? IniFile::load(path) : std::nullopt;
    if (!ini) {
        problems << QStringLiteral("the file cannot be read; the built-in settings are used");
        return result;
    }

    Settings &settings = result.settings;
    const QString options = QString::fromLatin1(OptionsSection);
    if (ini->hasSection(options)) {
        // A number that does not read as one keeps the built-in value, and says so.
        const auto number = [&](const char *key, int fallback) {
            const std::optional<QString> text = ini->value(options, QString::fromLatin1(key));
            if (text && !parseIniInteger(*text))
                problems << QStringLiteral("%1=%2 is not a number; %3 is used").arg(QLatin1String(key), *text).arg(fallback);
            return ini->readInteger(options, key, fallback);
        };
        settings.valdris_path = withTrailingSeparator(ini->readString(options, "valdris_path", QString()));
        settings.language = ini->readString(options, "language", QString());
        settings.graphics = number("graphics", 2);
        settings.use_nagscreen = number("use_nagscreen", 1);
        settings.use_showobst = number("use_showobst", 1);
        settings.use_ramobst = number("use_ramobst", 1);
        if (settings.graphics == 0 && !QFileInfo(settings.valdris_path).isDir())
            problems << QStringLiteral("the game folder \"%1\" does not exist; the \"defs\" folder is used")
                            .arg(settings.valdris_path);
    } else {
        problems << QStringLiteral("there is no [%1] section; the built-in settings are used").arg(options);
    }

    // Without the language section the built-in English texts stay and the
    // terrain names are empty.
    InterfaceTexts &texts = result.texts;
    if (!settings.language.isEmpty() && !ini->hasSection(settings.language))
        problems << QStringLiteral("there is no [%1] section for the language; the English texts are used")
                        .arg(settings.language);
    if (!settings.language.isEmpty() && ini->hasSection(settings.language)) {
        for (const InterfaceTexts::Entry &entry : InterfaceTexts::entries())
            texts.*entry.text = ini->readString(settings.language, QString::fromLatin1(entry.key), texts.*entry.text);
        for (int type = 0; type < int(texts.terrain.size()); ++type) {
            const QString key = QStringLiteral("terrain%1").arg(type);
            texts.terrain[type] = ini->readString(settings.language, key, key);
        }
    }
    return result;
}
