# Fails when a C++ file of ours is not formatted as .clang-format says, and
# names the files. Run by CTest: cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... -P this file.
file(GLOB_RECURSE files ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tests/*.cpp
     ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
     ${SOURCE_DIR}/soak/*.cpp ${SOURCE_DIR}/soak/*.h ${SOURCE_DIR}/fuzz/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result ERROR_VARIABLE report)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error: [^\n]*" lines "${report}")
  string(REPLACE ";" "\n" lines "${lines}")
  message(FATAL_ERROR "Not formatted (run clang-format -i on these files):\n${lines}")
endif()
list(LENGTH files count)
message(STATUS "format: ${count} files as .clang-format says")
