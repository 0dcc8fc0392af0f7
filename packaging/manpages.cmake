# Manual pages made by help2man from the programs' own --help, so the options
# are described in one place only. corvane_add_manpage(TARGET DESCRIPTION
# [INCLUDE FILE]) runs the built TARGET with --help, adds the sections in FILE
# (help2man's include format) and installs TARGET.1.gz in section 1.
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

function(corvane_add_manpage target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "INCLUDE" "")
  set(page ${CMAKE_BINARY_DIR}/packaging/man/${target}.1)
  set(include_option)
  if(arg_INCLUDE)
    set(include_option --include=${arg_INCLUDE})
  endif()
  # Offscreen, so that a Qt program can answer --help without a display;
  # within a time limit, so that a program which opens its window instead
  # fails the build rather than hangs it; and in a UTF-8 locale, so that the
  # Chinese of the help (captions, the examples' names) stays Chinese.
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/man
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${corvane_release_timestamp}
            QT_QPA_PLATFORM=offscreen
            ${CORVANE_TIMEOUT} 60 ${CORVANE_HELP2MAN} --no-info --locale=C.UTF-8 --section=1 --version-string=${PROJECT_VERSION}
            --name=${description} ${include_option} --output=${page} $<TARGET_FILE:${target}>
    COMMAND ${CORVANE_GZIP} -9nf ${page}
    DEPENDS ${target} ${arg_INCLUDE}
    COMMENT "Writing the manual page of ${target} from its --help"
    VERBATIM)
  add_custom_target(${target}_manpage ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
