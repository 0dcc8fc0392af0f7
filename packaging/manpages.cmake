# Manual pages made by help2man from the programs' own --help, so the options
# are described in one place only, in English and, from the same programs run
# under a Chinese locale, in Chinese.
find_program(CORVANE_HELP2MAN help2man REQUIRED)
find_program(CORVANE_GZIP gzip REQUIRED)
find_program(CORVANE_TIMEOUT timeout REQUIRED)
find_program(CORVANE_PARSECHANGELOG dpkg-parsechangelog REQUIRED)

# The pages carry the date of the newest changelog entry, not the build's.
execute_process(
  COMMAND ${CORVANE_PARSECHANGELOG} -l ${CMAKE_CURRENT_LIST_DIR}/changelog -S Timestamp
  OUTPUT_VARIABLE corvane_release_timestamp
  OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

# One page of TARGET in a language: LOCALE as help2man runs the program under
# (its --help then in that language), installed under MANDIR. The NAME
# section, headed as help2man heads it in that language, comes from an include
# file, which help2man reads as text of the locale (an argument it would take
# as Latin-1 bytes).
function(corvane_manpage_in target locale mandir name_heading description include)
  set(folder ${CMAKE_BINARY_DIR}/packaging/${mandir})
  set(page ${folder}/${target}.1)
  set(name_include ${folder}/${target}.name.h2m)
  file(WRITE ${name_include} "[${name_heading}]\n${target} \\- ${description}\n")
  set(include_option --include=${name_include})
  if(include)
    list(APPEND include_option --include=${include})
  endif()
  # Offscreen, so that a Qt program can answer --help without a display;
  # within a time limit, so that a program which opens its window instead
  # fails the build rather than hangs it; and in a UTF-8 locale, so that the
  # Chinese of the help (captions, the examples' names) stays Chinese. The
  # build's own zh_CN.UTF-8 is found through LOCPATH on a machine without it.
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${corvane_release_timestamp}
            QT_QPA_PLATFORM=offscreen LOCPATH=${CORVANE_LOCPATH}
            ${CORVANE_TIMEOUT} 60 ${CORVANE_HELP2MAN} --no-info --locale=${locale} --section=1 --version-string=${PROJECT_VERSION}
            ${include_option} --output=${page} $<TARGET_FILE:${target}>
    COMMAND ${CORVANE_GZIP} -9nf ${page}
    DEPENDS ${target} corvane-catalogues corvane-chinese-locale ${include}
    COMMENT "Writing the ${locale} manual page of ${target} from its --help"
    VERBATIM)
  string(MAKE_C_IDENTIFIER ${mandir} suffix)
  add_custom_target(${target}_manpage_${suffix} ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${mandir})
endfunction()

# corvane_add_manpage(TARGET DESCRIPTION CHINESE_DESCRIPTION [INCLUDE FILE])
# makes TARGET.1.gz in English (man1) and in Chinese (zh_CN/man1); FILE is
# help2man's include format, with a FILE of the same name ending .zh_CN.h2m
# for the Chinese page.
function(corvane_add_manpage target description chinese_description)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "INCLUDE" "")
  set(chinese_include)
  if(arg_INCLUDE)
    string(REGEX REPLACE "\\.h2m$" ".zh_CN.h2m" chinese_include ${arg_INCLUDE})
  endif()
  corvane_manpage_in(${target} C.UTF-8 man1 NAME "${description}" "${arg_INCLUDE}")
  corvane_manpage_in(${target} zh_CN.UTF-8 zh_CN/man1 名称 "${chinese_description}"
                     "${chinese_include}")
endfunction()
