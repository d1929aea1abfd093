# The reliability harness. The fault table and the fuzz-regression replay are part of the unit
# tests (tests/harness); this file adds the kill loop, a driver process killed at random moments,
# and the libFuzzer targets, which only a clang build with FOLDWISE_FUZZ=ON makes.
option(FOLDWISE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

# Every operation of every family (harness/family_table.h) and the kill loop's model: shared by
# the unit tests, the kill loop and the fuzz targets.
if(FOLDWISE_BUILD_TESTS OR FOLDWISE_FUZZ)
  add_library(foldwise_harness STATIC harness/family_table.cc
    harness/cached_operations.cc harness/document_operations.cc harness/outbox_operations.cc
    harness/folder_model.cc)
  target_compile_options(foldwise_harness PRIVATE ${FOLDWISE_WARNINGS})
  target_include_directories(foldwise_harness PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(foldwise_harness PUBLIC foldwise::foldwise)
endif()

# The promises the fuzz targets check, also replayed by the unit tests over fuzz/corpus and
# fuzz/regressions.
set(FOLDWISE_FUZZ_CHECKS fuzz/fuzz_support.cc fuzz/folder_file_checks.cc
  fuzz/record_text_checks.cc)

if(FOLDWISE_BUILD_TESTS)
  target_sources(foldwise_tests PRIVATE ${FOLDWISE_FUZZ_CHECKS})
  target_link_libraries(foldwise_tests PRIVATE foldwise_harness)
  target_compile_definitions(foldwise_tests PRIVATE FOLDWISE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()

# The kill loop forks and kills POSIX processes.
if(FOLDWISE_BUILD_TESTS AND NOT WIN32)
  add_executable(foldwise_kill_loop harness/kill_loop.cc)
  target_compile_options(foldwise_kill_loop PRIVATE ${FOLDWISE_WARNINGS})
  target_include_directories(foldwise_kill_loop PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(foldwise_kill_loop PRIVATE foldwise_harness foldwise::testing
    pugixml::pugixml)
  # A short run; scripts/kill-loop.sh runs a thousand kills or more.
  add_test(NAME kill_loop_short
    COMMAND foldwise_kill_loop --kills 100 --seconds 90 --dir ${PROJECT_BINARY_DIR}/kill-loop)
  set_tests_properties(kill_loop_short PROPERTIES TIMEOUT 240)
endif()

if(FOLDWISE_FUZZ)
  # Coverage feedback from the library itself, not only from the target's own file.
  target_compile_options(foldwise PRIVATE -fsanitize=fuzzer-no-link)
  target_compile_options(foldwise_testing PRIVATE -fsanitize=fuzzer-no-link)
  target_compile_options(foldwise_harness PRIVATE -fsanitize=fuzzer-no-link)
  foreach(fuzzer folder_file_fuzzer record_text_fuzzer)
    add_executable(${fuzzer} fuzz/${fuzzer}.cc ${FOLDWISE_FUZZ_CHECKS})
    target_compile_options(${fuzzer} PRIVATE ${FOLDWISE_WARNINGS} -fsanitize=fuzzer)
    target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
    target_include_directories(${fuzzer} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${fuzzer} PRIVATE foldwise_harness foldwise::testing pugixml::pugixml)
  endforeach()
endif()
