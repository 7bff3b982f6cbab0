// Every interface text: its key in the language section of "brackwen.ini",
// which is also its field's name in InterfaceTexts, and its built-in English
// wording, one list a group. A new text is one line here and one line in each
// language section. "%1", "%2" are filled in; a text with "%n" holds plural
// forms separated by "|", and "%n" is the count that picks one (see
// InterfaceTexts::counted()).
#pragma once

#include "check/Problem.h"

// The texts of the designed window: its captions, hints and list items.
#define BRACKWEN_DESIGNED_TEXTS(TEXT) \
    TEXT(maperr, "Map Error !") \
    TEXT(bopenmap, "Open Map") \
    TEXT(bsavemap, "Save Map") \
    TEXT(bundo, "Undo") \
    TEXT(bobstacles, "Obstacles") \
    TEXT(lbmirror, "Mirror settings") \
    TEXT(cbmirror, "Mirror mode") \
    TEXT(cbmirror_s, "Set Mirror") \
    TEXT(cbmirror_sm, "Set marked") \
    TEXT(cbbrushx, "Brush width") \
    TEXT(cbbrushy, "Brush height") \
    TEXT(cbtertype, "Terrain type") \
    TEXT(cbterconf, "Terrain configuration") \
    TEXT(cbrivtype, "River type") \
    TEXT(cbrivconf, "River configuration") \
    TEXT(cbroadtype, "Road type") \
    TEXT(cbroadconf, "Road configuration") \
    TEXT(cbmapsize, "Map size") \
    TEXT(notchange, "Not change") \
    TEXT(notchng, "n/c") \
    TEXT(cbmaplvl, "Map Level") \
    TEXT(maplvl_gnd, "Ground") \
    TEXT(maplvl_str, "Subterranean") \
    TEXT(title, "Brackwen") \
    TEXT(ternums, "RMC-terrnums") \
    TEXT(bcopy, "Copy Cells") \
    TEXT(bpaste, "Paste Cells") \
    TEXT(dlgfilter, "Valdris map") \
    TEXT(noobstacles, "There is no battlefield on a cell") \
    TEXT(shore, "Shore") \
    TEXT(cbrivtype_nr, "NoRiver") \
    TEXT(cbrivtype_ar, "Any>River") \
    TEXT(cbrivtype_cr, "River") \
    TEXT(cbrivtype_ai, "Any>Ice") \
    TEXT(cbrivtype_ir, "IceRiver") \
    TEXT(cbrivtype_am, "Any>Mud") \
    TEXT(cbrivtype_mr, "MudRiver") \
    TEXT(cbrivtype_al, "Any>Lava") \
    TEXT(cbrivtype_lr, "LavaRiver") \
    TEXT(cbroadtype_nr, "NoRoad") \
    TEXT(cbroadtype_ad, "Any>Dirt") \
    TEXT(cbroadtype_dr, "DirtRoad") \
    TEXT(cbroadtype_ag, "Any>Gravel") \
    TEXT(cbroadtype_gr, "GravelRoad") \
    TEXT(cbroadtype_as, "Any>Stone") \
    TEXT(cbroadtype_sr, "StoneRoad") \
    TEXT(lbmirror_tv, "Terrain vert") \
    TEXT(lbmirror_th, "Terrain horz") \
    TEXT(lbmirror_rv, "River vert") \
    TEXT(lbmirror_rh, "River horz") \
    TEXT(lbmirror_pv, "Road vert") \
    TEXT(lbmirror_ph, "Road horz")

// Texts of what the editor adds around the designed window: prompt
// buttons, and messages about files and sizes ("%1", "%2" are filled in).
#define BRACKWEN_PROMPT_TEXTS(TEXT) \
    TEXT(dlgok, "OK") \
    TEXT(dlgsave, "Save") \
    TEXT(dlgdiscard, "Do&n't save") \
    TEXT(dlgcancel, "Cancel") \
    TEXT(sizecut, "Cells outside %1x%1 are not empty and will be lost. Change the size?") \
    TEXT(nomemory, "There is not enough memory for a map of %1x%1 cells; the map is unchanged.") \
    TEXT(openerr, "%1 could not be opened: %2") \
    TEXT(spriteerr, "The tile pictures could not be loaded: %1") \
    TEXT(saveerr, "The map could not be saved to %1: %2")

// The overview, zoom, picture export and long work.
#define BRACKWEN_VIEW_TEXTS(TEXT) \
    TEXT(overview, "O&verview") \
    TEXT(overviewwhole, "&Whole level (a sample of its cells a pixel)") \
    TEXT(exportmenu, "&Export picture...") \
    TEXT(exporttitle, "Export picture") \
    TEXT(exportcell, "Cell size (pixels):") \
    TEXT(exportsize, "%1 x %2 pixels") \
    TEXT(exporttoolarge, "At %1 pixels a cell the picture is too large; %2 pixels a cell fit.") \
    TEXT(exportmemory, "Not enough memory for the picture at %1 pixels a cell.") \
    TEXT(exportfailed, "The picture could not be written to %1: %2") \
    TEXT(exportfilter, "PNG picture|*.png") \
    TEXT(zoomin, "Zoom &in") \
    TEXT(zoomout, "Zoom &out") \
    TEXT(zoomreset, "&Actual size") \
    TEXT(workopen, "Opening %1...") \
    TEXT(worksave, "Saving %1...") \
    TEXT(workresize, "Changing the map size...") \
    TEXT(workfill, "Filling...")

// Menus, status bar messages and the page of mouse gestures.
#define BRACKWEN_MENU_TEXTS(TEXT) \
    TEXT(menufile, "&File") \
    TEXT(menuopen, "&Open...") \
    TEXT(menurecent, "Open &Recent") \
    TEXT(menusave, "&Save") \
    TEXT(menusaveas, "Save &As...") \
    TEXT(menuquit, "&Quit") \
    TEXT(menuedit, "&Edit") \
    TEXT(menuundostep, "&Undo step") \
    TEXT(menuredostep, "&Redo step") \
    TEXT(menuundocell, "Undo one &cell") \
    TEXT(menucopy, "&Copy") \
    TEXT(menupaste, "&Paste") \
    TEXT(menuview, "&View") \
    TEXT(menuotherlevel, "&Other level at this place") \
    TEXT(menupanel, "&Panel") \
    TEXT(menunumbers, "Sprite &numbers") \
    TEXT(menuobstwin, "O&bstacles window") \
    TEXT(menuhelp, "&Help") \
    TEXT(menukeys, "&Mouse and keys") \
    TEXT(menuabout, "&About") \
    TEXT(msgsaved, "Saved %1") \
    TEXT(msgmissing, "%1 no longer exists and was removed from the recent maps") \
    TEXT(msgnounderground, "This map has no underground level") \
    TEXT(msgfillstopped, "The fill stopped at its first cell: %1 and %2 have a different number of pictures. Fill any terrain (F) replaces one with the other") \
    TEXT(stselection, "Selection %1 x %2") \
    TEXT(stterrain, "%1, picture %2") \
    TEXT(striver, "river %1, picture %2") \
    TEXT(stroad, "road %1, picture %2") \
    TEXT(stmirror, "mirror %1") \
    TEXT(stbattlefield, "battlefield: %1") \
    TEXT(helpleft, "Left button: select a cell; drag to select a rectangle") \
    TEXT(helpright, "Right button: paint with the brush; drag to paint a stroke") \
    TEXT(helpmiddle, "Middle button: hide or show the panel") \
    TEXT(helppanel, "Right click on the panel: show or hide the sprite numbers") \
    TEXT(helpwheel, "Wheel: scroll rows; Ctrl+wheel: scroll columns") \
    TEXT(helparrows, "Arrow keys: move the selected cell; Shift+arrows: extend the selection") \
    TEXT(helpkeys, "Keys") \
    TEXT(menuedgebrush, "&Edge brush") \
    TEXT(menufixedges, "&Fix all edges") \
    TEXT(msgedgerules, "The edge rules could not be read: %1") \
    TEXT(msgedgesfixed, "%n cell got new edges|%n cells got new edges")

// The map maker's tools, symmetry and transforms, the edit journal, and
// what the editor says of faults it found.
#define BRACKWEN_TOOL_TEXTS(TEXT) \
    TEXT(menupalette, "Tool &palette") \
    TEXT(toolbrush, "Brush") \
    TEXT(toolfill, "Fill any terrain") \
    TEXT(toolpicker, "Picker") \
    TEXT(toolselectsame, "Select same") \
    TEXT(toolroad, "Road") \
    TEXT(toolriver, "River") \
    TEXT(sttool, "Tool: %1") \
    TEXT(menuselectall, "Select &all") \
    TEXT(menudeselect, "&Deselect") \
    TEXT(menufillselection, "Fill &selection") \
    TEXT(menusmaller, "S&maller brush") \
    TEXT(menularger, "&Larger brush") \
    TEXT(menustatistics, "&Statistics") \
    TEXT(statterrain, "Terrain") \
    TEXT(statrivers, "Rivers") \
    TEXT(statroads, "Roads") \
    TEXT(statline, "%1: %n cell, %2 %|%1: %n cells, %2 %") \
    TEXT(msgfilled, "%n cell filled|%n cells filled") \
    TEXT(msgselected, "%n cell selected|%n cells selected") \
    TEXT(helptools, "Tools, keys while the map has the focus: B brush, F fill any terrain, I picker, M select same, R road, W river; Shift with a fill or select same: the whole level; Ctrl with a road or river: erase; Alt+right click: pick; [ and ]: brush size") \
    TEXT(menufixpaths, "Fix all &roads and rivers") \
    TEXT(msgnopathrules, "No rules are loaded for %1: it is laid with the panel's picture") \
    TEXT(msgpathsfixed, "%n road or river picture changed|%n road and river pictures changed") \
    TEXT(menusymmetry, "S&ymmetry") \
    TEXT(menunextsymmetry, "&Next symmetry") \
    TEXT(symoff, "Off") \
    TEXT(symleftright, "Left–right") \
    TEXT(symtopbottom, "Top–bottom") \
    TEXT(symfourway, "Four-way") \
    TEXT(symhalfturn, "Half turn") \
    TEXT(symquarterturn, "Quarter turn") \
    TEXT(symdiagonal, "Diagonal") \
    TEXT(stsymmetry, "Symmetry: %1") \
    TEXT(menutransform, "&Transform") \
    TEXT(trfliph, "Flip &left–right") \
    TEXT(trflipv, "Flip &top–bottom") \
    TEXT(trturn90, "Turn 90° &clockwise") \
    TEXT(trturn180, "Turn &180°") \
    TEXT(trturn270, "Turn 90° &anticlockwise") \
    TEXT(trlevel, "Whole level") \
    TEXT(trselection, "Selection") \
    TEXT(trclipboard, "Copied cells") \
    TEXT(trmirrorleft, "&Mirror the left half onto the right") \
    TEXT(trmirrortop, "Mirror the top &half onto the bottom") \
    TEXT(trmirrorright, "Mirror the &right half onto the left") \
    TEXT(trmirrorbottom, "Mirror the &bottom half onto the top") \
    TEXT(msgnoturnrules, "No edge rules are loaded: the turned cells keep their pictures") \
    TEXT(msgtransformed, "%n cell changed|%n cells changed") \
    TEXT(recovertitle, "Recover unsaved edits") \
    TEXT(recovertext, "%1 has unsaved edits, the last made %2. Recover them?") \
    TEXT(recoverchanged, "The file has changed since; the recovered map opens without a file (Save As asks for a name).") \
    TEXT(recoverkept, "A save that did not finish damaged the file; Recover puts back the map as these edits began, kept in %1, and replays them on it.") \
    TEXT(dlgrecover, "&Recover") \
    TEXT(dlglater, "&Later") \
    TEXT(dlgdropedits, "D&iscard") \
    TEXT(menubackup, "Keep a &backup when saving") \
    TEXT(msgjournalerr, "The edit journal could not be written: %2 (%1)") \
    TEXT(msgrecovered, "%n step recovered|%n steps recovered") \
    TEXT(msgsettings, "brackwen.ini: %1") \
    TEXT(msgkeptoriginal, "A save of %1 did not finish; the map as it was before is kept in %2") \
    TEXT(msgplaincolours, "%1; the map is drawn in plain colours") \
    TEXT(msgexported, "The picture was written to %1") \
    TEXT(workedit, "Working…") \
    TEXT(brushfill, "fill") \
    TEXT(msgjournalelsewhere, "This map is open in another Brackwen; the edits made here go to a journal of their own, %1") \
    TEXT(msgjournalrewritten, "The edit journal was deleted while in use; %1 was written anew with every edit since the map was opened or saved") \
    TEXT(msgjournaldamaged, "A damaged edit journal was moved aside to %1: %2") \
    TEXT(recoverdamaged, "The journal is damaged (%1) and was moved aside to %2. Recover brings back the %n step before the damage; brackwen-cli can read the rest.|The journal is damaged (%1) and was moved aside to %2. Recover brings back the %n steps before the damage; brackwen-cli can read the rest.") \
    TEXT(trnocells, "There are no cells to transform") \
    TEXT(troutside, "The area from column %1, row %2 to column %3, row %4 does not lie inside the level of side %5") \
    TEXT(trnotsquare, "A quarter turn or diagonal flip in place needs a square area, not %1 x %n cell|A quarter turn or diagonal flip in place needs a square area, not %1 x %n cells") \
    TEXT(trnomemory, "Not enough memory to turn an area of %1 x %1 cells") \
    TEXT(trnolevel, "No level of an open map is shown to edit") \
    TEXT(trnocopy, "No cells are copied to transform")

// The terrain generator's dialog and what it says.
#define BRACKWEN_GENERATOR_TEXTS(TEXT) \
    TEXT(menugenerate, "&Generate terrain…") \
    TEXT(gentitle, "Generate terrain") \
    TEXT(genseed, "Seed") \
    TEXT(gennewseed, "&New seed") \
    TEXT(gencopyseed, "&Copy") \
    TEXT(gensymmetry, "S&ymmetry") \
    TEXT(gensides, "%n player's side|%n players' sides") \
    TEXT(genstyle, "&Land") \
    TEXT(stylecontinent, "Continent") \
    TEXT(styleislands, "Islands") \
    TEXT(stylelakes, "Lakes") \
    TEXT(stylecoast, "Coast") \
    TEXT(genwater, "&Water share") \
    TEXT(genmix, "Terrain &mix") \
    TEXT(mixtemperate, "Temperate") \
    TEXT(mixnorthern, "Northern") \
    TEXT(mixdesert, "Desert") \
    TEXT(mixmarsh, "Marsh") \
    TEXT(mixvolcanic, "Volcanic") \
    TEXT(mixunderground, "Underground") \
    TEXT(genrough, "R&ough or rock share") \
    TEXT(genrivers, "&Rivers for each side") \
    TEXT(genroads, "Roa&ds") \
    TEXT(roadsnone, "None") \
    TEXT(roadsplayers, "Between the start zones") \
    TEXT(roadscentre, "From the start zones to the centre") \
    TEXT(genlevel, "Le&vel") \
    TEXT(levelsurface, "Surface") \
    TEXT(levelunderground, "Underground (caverns)") \
    TEXT(genbutton, "&Generate") \
    TEXT(genprogress, "Generating terrain…") \
    TEXT(genbadseed, "Seed: a whole number from 0 to 4294967295") \
    TEXT(gennolevel, "Level: the map has no underground") \
    TEXT(gensmall, "The map is too small: at least %n cell a side|The map is too small: at least %n cells a side") \
    TEXT(genwaterrange, "Water share: %1 allows %2 to %3 %") \
    TEXT(genoneside, "Roads: without symmetry there is one side, and no other start zone to join") \
    TEXT(genwatermissed, "Water share: the land the start zones and roads need leaves it more than %1 points away") \
    TEXT(genrules, "The rules file has no picture for some cells of this level") \
    TEXT(msggenerated, "Terrain generated: %n cell changed|Terrain generated: %n cells changed")

// The map check's problems list and marks, and the statistics dock with
// its fairness view.
#define BRACKWEN_CHECK_TEXTS(TEXT) \
    TEXT(menuproblems, "&Problems") \
    TEXT(menunextproblem, "Ne&xt problem") \
    TEXT(menuprevproblem, "Pre&vious problem") \
    TEXT(menuproblemmarks, "Problem &marks") \
    TEXT(stproblems, "Problems: %1") \
    TEXT(probkind, "Kind") \
    TEXT(probcell, "Cell") \
    TEXT(probreason, "Reason") \
    TEXT(kindterrainpicture, "Terrain picture") \
    TEXT(kindriverpiece, "River piece") \
    TEXT(kindroadpiece, "Road piece") \
    TEXT(kindnorule, "No rule fits") \
    TEXT(kindriverend, "River end") \
    TEXT(kindroadend, "Road end") \
    TEXT(kindriverjoin, "River join") \
    TEXT(kindroadjoin, "Road join") \
    TEXT(kindmirror, "Unlike its mirror") \
    TEXT(probpicture, ProblemWords::Picture) \
    TEXT(probnorule, ProblemWords::NoRule) \
    TEXT(probend, ProblemWords::End) \
    TEXT(probjoin, ProblemWords::Join) \
    TEXT(probmirror, ProblemWords::Mirror) \
    TEXT(probterrain, ProblemWords::Terrain) \
    TEXT(probriver, ProblemWords::River) \
    TEXT(probroad, ProblemWords::Road) \
    TEXT(probnorth, ProblemWords::North) \
    TEXT(probeast, ProblemWords::East) \
    TEXT(probsouth, ProblemWords::South) \
    TEXT(probwest, ProblemWords::West) \
    TEXT(probnone, ProblemWords::None) \
    TEXT(probtypes, ProblemWords::Types) \
    TEXT(probpictures, ProblemWords::Pictures) \
    TEXT(stattitle, "%1, %2") \
    TEXT(statcounts, "Counts") \
    TEXT(statfairness, "Fairness") \
    TEXT(statsides, "Sides of") \
    TEXT(statshared, "%n cell on the mirror lines belongs to no side|%n cells on the mirror lines belong to no side") \
    TEXT(statdifference, "Difference") \
    TEXT(sidewhole, "Whole level") \
    TEXT(sideleft, "Left") \
    TEXT(sideright, "Right") \
    TEXT(sidetop, "Top") \
    TEXT(sidebottom, "Bottom") \
    TEXT(sidetopleft, "Top left") \
    TEXT(sidetopright, "Top right") \
    TEXT(sidebottomleft, "Bottom left") \
    TEXT(sidebottomright, "Bottom right") \
    TEXT(figwater, "Water share, %") \
    TEXT(figroadlength, "Road length") \
    TEXT(figregions, "Land regions") \
    TEXT(figlargest, "Largest land region") \
    TEXT(figjoins, "Land joins other sides") \
    TEXT(problr, ProblemWords::LeftRight) \
    TEXT(probud, ProblemWords::UpDown)

// The tools' keys, the feedback of the selection and of recovery, and the
// history dock: its menu item, its first row, a step's name and size, and the
// names of the steps no menu item names.
#define BRACKWEN_SEAM_TEXTS(TEXT) \
    TEXT(keyescape, "Leave the picker, end the drag") \
    TEXT(tippickhold, "Hold I and right-click to pick with any tool, or Alt with a right click") \
    TEXT(stregion, "Selection %n cell in %1 x %2|Selection %n cells in %1 x %2") \
    TEXT(msgrecoverlater, "The unsaved edits of %1 are kept for the next start") \
    TEXT(menuhistory, "&History") \
    TEXT(histopened, "Opened %1") \
    TEXT(histcells, "%1, %n cell|%1, %n cells") \
    TEXT(histpartly, "%1, %2 of %n cell|%1, %2 of %n cells") \
    TEXT(histsize, "Map size %1 → %2") \
    TEXT(histbrushfill, "Brush fill") \
    TEXT(histflipdiagonal, "Flip across the diagonal") \
    TEXT(histroaderased, "Road taken off") \
    TEXT(histrivererased, "River taken off") \
    TEXT(histrecovered, "Recovered edits")

// What is told of faults in "brackwen.ini", with what is used instead.
#define BRACKWEN_SETTINGS_TEXTS(TEXT) \
    TEXT(setnoread, "the file cannot be read; the built-in settings are used") \
    TEXT(setnotnumber, "%1=%2 is not a number; %3 is used") \
    TEXT(setnofolder, "the game folder \"%1\" does not exist; the \"defs\" folder is used") \
    TEXT(setnooptions, "there is no [%1] section; the built-in settings are used") \
    TEXT(setnolanguage, "there is no [%1] section for the language; the English texts are used") \
    TEXT(setnoplural, "plural=%1 is no rule of plural forms; %2 is used")

// The language itself: the two lines of the about prompt (the program's
// name, version, author, and its web page); the locale that formats dates,
// times and counts and whose translation of Qt's own dialogs is loaded
// (empty: the system's locale, plain counts and Qt's English); and the rule
// that picks among a text's plural forms (see base/Plural.h).
#define BRACKWEN_LANGUAGE_TEXTS(TEXT) \
    TEXT(aboutauthor, "%1 v%2, Created by %3") \
    TEXT(aboutvisit, "Wish to visit %1 and get info or updates? ") \
    TEXT(locale, "") \
    TEXT(plural, "one-other")

#define BRACKWEN_INTERFACE_TEXTS(TEXT) \
    BRACKWEN_DESIGNED_TEXTS(TEXT) \
    BRACKWEN_PROMPT_TEXTS(TEXT) \
    BRACKWEN_VIEW_TEXTS(TEXT) \
    BRACKWEN_MENU_TEXTS(TEXT) \
    BRACKWEN_TOOL_TEXTS(TEXT) \
    BRACKWEN_GENERATOR_TEXTS(TEXT) \
    BRACKWEN_CHECK_TEXTS(TEXT) \
    BRACKWEN_SEAM_TEXTS(TEXT) \
    BRACKWEN_SETTINGS_TEXTS(TEXT) \
    BRACKWEN_LANGUAGE_TEXTS(TEXT)
