# Writes tolv/build_info.h: the build details that tolv-cli --version and the
# status bar show after the version, never written into a file. Run at every
# build (cmake -DSOURCE_DIR=... -DOUTPUT=... -P BuildInfo.cmake); the header is
# rewritten only when the details change, so an unchanged checkout rebuilds
# nothing.
set(details "")
execute_process(COMMAND git rev-parse --short HEAD
                WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET RESULT_VARIABLE result)
if(result EQUAL 0 AND NOT commit STREQUAL "")
  set(details "git ${commit}")
endif()
# configure_file leaves the header untouched when its text is the same.
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_info.h.in ${OUTPUT} @ONLY)
