// The program's settings and the texts of its interface, read once at start-up
// from "brackwen.ini".
#pragma once

#include "obstacles/ObstacleOverlay.h"

#include <QString>
#include <QStringList>

#include <array>
#include <span>

struct Settings {
    // Start values: what a setting holds without the file or its options section.
    QString valdris_path;  // the game folder, ending in a separator when longer than 3 characters
    QString language;      // name of the section holding the interface texts
    int graphics = 0;      // 0 game archive, 1 "defs" folder, anything else plain colours
    static constexpr int PlainColours = 2;
    int use_nagscreen = 0;
    int use_showobst = 0;
    int use_ramobst = 0;
};

struct InterfaceTexts {
    QString maperr, bopenmap, bsavemap, bundo, bobstacles, lbmirror, cbmirror, cbmirror_s, cbmirror_sm,
        cbbrushx, cbbrushy, cbtertype, cbterconf, cbrivtype, cbrivconf, cbroadtype, cbroadconf, cbmapsize,
        notchange, notchng, cbmaplvl, maplvl_gnd, maplvl_str, title, ternums, bcopy, bpaste, dlgfilter,
        noobstacles, shore, cbrivtype_nr, cbrivtype_ar, cbrivtype_cr, cbrivtype_ai, cbrivtype_ir,
        cbrivtype_am, cbrivtype_mr, cbrivtype_al, cbrivtype_lr, cbroadtype_nr, cbroadtype_ad,
        cbroadtype_dr, cbroadtype_ag, cbroadtype_gr, cbroadtype_as, cbroadtype_sr, lbmirror_tv,
        lbmirror_th, lbmirror_rv, lbmirror_rh, lbmirror_pv, lbmirror_ph;
    // Texts of what the editor adds around the designed window: prompt
    // buttons, and messages about files and sizes ("%1", "%2" are filled in).
    QString dlgok, dlgsave, dlgdiscard, dlgcancel, sizecut, nomemory, openerr, spriteerr, saveerr;
    // The overview, zoom, picture export and long work.
    QString overview, overviewwhole, exportmenu, exporttitle, exportcell, exportsize, exporttoolarge, exportmemory,
        exportfailed, exportfilter, zoomin, zoomout, zoomreset, workopen, worksave, workresize, workfill;
    // Menus, status bar messages and the page of mouse gestures.
    QString menufile, menuopen, menurecent, menusave, menusaveas, menuquit, menuedit, menuundostep,
        menuredostep, menuundocell, menucopy, menupaste, menuview, menuotherlevel, menupanel,
        menunumbers, menuobstwin, menuhelp, menukeys, menuabout, msgsaved, msgmissing,
        msgnounderground, msgfillstopped, stselection, stterrain, striver, stroad, stmirror,
        stbattlefield, helpleft, helpright, helpmiddle, helppanel, helpwheel, helparrows, helpkeys,
        menuedgebrush, menufixedges, msgedgerules, msgedgesfixed;
    // The map maker's tools, symmetry and transforms, the edit journal, and
    // what the editor says of faults it found.
    QString menupalette, toolbrush, toolfill, toolpicker, toolselectsame, toolroad, toolriver, sttool,
        menuselectall, menudeselect, menufillselection, menusmaller, menularger, menustatistics, statterrain,
        statrivers, statroads, statline, msgfilled, msgselected, helptools, menufixpaths, msgnopathrules,
        msgpathsfixed, menusymmetry, menunextsymmetry, symoff, symleftright, symtopbottom, symfourway,
        symhalfturn, symquarterturn, symdiagonal, stsymmetry, menutransform, trfliph, trflipv, trturn90, trturn180,
        trturn270, trlevel, trselection, trclipboard, trmirrorleft, trmirrortop, trmirrorright, trmirrorbottom,
        msgnoturnrules,
        msgtransformed, recovertitle, recovertext, recoverchanged, recoverkept, dlgrecover, dlglater, dlgdropedits,
        menubackup, msgjournalerr, msgrecovered, msgsettings, msgkeptoriginal, msgplaincolours, msgexported, workedit, brushfill,
        msgjournalelsewhere, msgjournalrewritten, msgjournaldamaged, recoverdamaged;
    // The terrain generator's dialog and what it says.
    QString menugenerate, gentitle, genseed, gennewseed, gencopyseed, gensymmetry, gensides, genstyle,
        stylecontinent, styleislands, stylelakes, stylecoast, genwater, genmix, mixtemperate, mixnorthern,
        mixdesert, mixmarsh, mixvolcanic, mixunderground, genrough, genrivers, genroads, roadsnone,
        roadsplayers, roadscentre, genlevel, levelsurface, levelunderground, genbutton, genprogress, genbadseed,
        gennolevel, gensmall, genwaterrange, genoneside, genwatermissed, genrules, msggenerated;
    // The map check's problems list and marks, and the statistics dock with
    // its fairness view.
    QString menuproblems, menunextproblem, menuprevproblem, menuproblemmarks, stproblems, probkind, probcell,
        probreason, kindterrainpicture, kindriverpiece, kindroadpiece, kindnorule, kindriverend, kindroadend,
        kindriverjoin, kindroadjoin, kindmirror, probpicture, probnorule, probend, probjoin, probmirror, probterrain,
        probriver, probroad, probnorth, probeast, probsouth, probwest, probnone, probtypes, probpictures, stattitle,
        statcounts, statfairness, statsides, statshared, statdifference, sidewhole, sideleft, sideright, sidetop,
        sidebottom, sidetopleft, sidetopright, sidebottomleft, sidebottomright, figwater, figroadlength, figregions,
        figlargest, figjoins;
    // The tools' keys and the feedback of the selection and recovery.
    QString keyescape, tippickhold, stregion, msgrecoverlater;
    // The history dock: its menu item, its first row, a step's name and size,
    // and the names of the steps no menu item names.
    QString menuhistory, histopened, histcells, histpartly, histsize, histbrushfill, histflipdiagonal, histrecovered;
    // Names of terrain types 0..9 ("terrain0" .. "terrain9" in the language section).
    std::array<QString, 10> terrain;

    // Every text with its built-in English wording; terrain names empty.
    InterfaceTexts();

    struct Entry {
        const char *key;
        QString InterfaceTexts::*text;
        const char *builtIn;
    };
    // The texts in the order of the language section's keys.
    static std::span<const Entry> entries();
};

struct SettingsAndTexts {
    Settings settings;
    InterfaceTexts texts;
    // What was wrong with the file and what is used instead, a sentence
    // each; empty when the file was read as it is (or there is none).
    QStringList problems;
};

inline constexpr const char *SettingsFileName = "brackwen.ini";
inline constexpr const char *OptionsSection = "Programm_options";

// Reads the settings file (relative to the current folder unless a path is
// given). Missing file, section or keys fall back to start values, defaults and
// built-in texts; nothing is reported.
SettingsAndTexts loadSettingsAndTexts(const QString &path = QString::fromLatin1(SettingsFileName));

// The text of the about prompt, in the settings' language (lines separated by
// a carriage return).
QString aboutText(const QString &title, const QString &language, const char *version, const char *author,
                  const char *webPage);

// The words of the obstacle window's caption.
ObstacleCaptionTexts obstacleCaptionTexts(const InterfaceTexts &texts);

// The separator rule of the game folder: a path longer than 3 characters gets a
// trailing separator unless it has one.
QString withTrailingSeparator(const QString &folder);
