# The command line's catalogue of texts: xgettext reads the messages marked
# with tr(), tr_noop() and trn() in the layers of the command line.
#   cmake -DROOT=<source dir> -DXGETTEXT=<xgettext> -DVERSION=<version> -DMODE=update -P catalogue.cmake
#     writes po/corvane.pot again
#   ... -DMODE=check -DMSGFMT=<msgfmt> -DMSGCMP=<msgcmp> -DMSGEXEC=<msgexec> -DOUT=<scratch file>
#     fails when po/corvane.pot is not what the sources make, or when a
#     translation misses a message, holds a fuzzy one, a bad format or a
#     message whose values ("{}") it does not show
cmake_minimum_required(VERSION 3.25)
set(template ${ROOT}/po/corvane.pot)
set(languages zh_CN)

file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/src/language/*.cpp ${ROOT}/src/language/*.h
     ${ROOT}/src/input/*.cpp ${ROOT}/src/cli/*.cpp ${ROOT}/src/export/*.cpp ${ROOT}/src/app/*.cpp)
list(SORT sources)
if(MODE STREQUAL "update")
  set(made ${template})
else()
  set(made ${OUT})
endif()
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 -k -ktr -ktr_noop -ktrn:1,2
          --add-comments=TRANSLATORS: --add-location=file --package-name=corvane
          --package-version=${VERSION} --output=${made} ${sources}
  WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "xgettext failed")
endif()
if(MODE STREQUAL "update")
  return()
endif()

# The two as they stand, without the date each was made.
foreach(file template made)
  file(STRINGS ${${file}} ${file}_lines)
  list(FILTER ${file}_lines EXCLUDE REGEX "^\"POT-Creation-Date:")
endforeach()
if(NOT template_lines STREQUAL made_lines)
  message(FATAL_ERROR "po/corvane.pot is not what the sources make: build the target corvane-pot")
endif()
foreach(language IN LISTS languages)
  set(po ${ROOT}/po/${language}.po)
  execute_process(COMMAND ${MSGCMP} ${po} ${template} RESULT_VARIABLE missing)
  execute_process(COMMAND ${MSGFMT} --check --statistics -o /dev/null ${po}
                  RESULT_VARIABLE bad ERROR_VARIABLE statistics)
  if(missing OR bad OR statistics MATCHES "fuzzy|untranslated")
    message(FATAL_ERROR "${po} is not a whole, good translation of po/corvane.pot: ${statistics}")
  endif()
  # A translation shows every value its message shows: as many "{...}".
  execute_process(
    COMMAND ${MSGEXEC} -i ${po} sh -c
            "[ \"$(printf %s \"$MSGEXEC_MSGID\" | tr -cd '{' | wc -c)\" = \"$(tr -cd '{' | wc -c)\" ] || printf '%s\\n' \"$MSGEXEC_MSGID\""
    OUTPUT_VARIABLE dropped)
  if(dropped)
    message(FATAL_ERROR "${po} translates these with other values than they have:\n${dropped}")
  endif()
endforeach()
message(STATUS "po/corvane.pot is current, and every language translates all of it")
