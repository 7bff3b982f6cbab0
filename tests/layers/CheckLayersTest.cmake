# Tries the layer check on small source trees of one file each and fails
# unless it refuses exactly the includes it should. Run as
#   cmake -DCHECK=<CheckLayers.cmake> -DWORK_DIR=<scratch folder> -P CheckLayersTest.cmake
# Each case: a name, the file (folder/name), the line it holds, and whether
# the check lets it through.
set(cases
  "rules on the map|rules/Rules.h|#include \"map/TerrainCell.h\"|accepted"
  "rules on the editing|rules/Rules.h|#include \"edit/CellEditor.h\"|refused"
  "a widget in the rules|rules/Rules.cpp|#include <QWidget>|refused"
  "editing on the rules|edit/Edit.h|#include \"rules/PathRules.h\"|accepted"
  "the journal on the editing|journal/Journal.h|#include \"edit/UndoList.h\"|accepted"
  "the journal on the session|journal/Journal.cpp|#include \"session/EditorSession.h\"|refused"
  "a widget in the journal|journal/Journal.cpp|#include <QtWidgets/QWidget>|refused"
  "a widget module in the journal|journal/Journal.h|#include <QtWidgets>|refused"
  "the editing on the journal|edit/Edit.cpp|#include \"journal/EditJournal.h\"|refused"
  "the session on the journal|session/Session.h|#include \"journal/JournalWriter.h\"|accepted"
  "a widget in the windows|ui/Window.h|#include <QWidget>|accepted"
)

set(failures "")
set(index 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 file)
  list(GET fields 2 line)
  list(GET fields 3 expected)
  math(EXPR index "${index} + 1")
  set(tree "${WORK_DIR}/case${index}")
  file(REMOVE_RECURSE "${tree}")
  file(WRITE "${tree}/${file}" "${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(REMOVE_RECURSE "${tree}")
  if(result EQUAL 0)
    set(outcome accepted)
  elseif(output MATCHES "${file}: ")
    set(outcome refused)
  else()
    set(outcome "refused for another reason: ${output}")
  endif()
  if(NOT outcome STREQUAL expected)
    string(APPEND failures "\n  ${name} (${file}: ${line}): ${outcome}, expected ${expected}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "The layer check is wrong about:${failures}")
endif()
message(STATUS "The layer check refuses what it should and nothing else")
