# Every committed fuzz input replayed through the same harness functions the fuzzers run, in the
# normal build (no libFuzzer needed): each input found once stays a regression test.
file(GLOB fuzz_harness_sources ${PROJECT_SOURCE_DIR}/fuzz/fuzz_*.cpp)
add_library(kovanta_fuzz_replay STATIC ${fuzz_harness_sources})
target_compile_definitions(kovanta_fuzz_replay PUBLIC KOVANTA_FUZZ_REPLAY)
target_include_directories(kovanta_fuzz_replay PUBLIC ${PROJECT_SOURCE_DIR}/fuzz
                                                      ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kovanta_fuzz_replay PUBLIC kovanta_grid_core kovanta_recipe
                                                 kovanta_webimport_qt kovanta_webformat
                                                 kovanta_net kovanta_jsonld)
kovanta_target_settings(kovanta_fuzz_replay)

kovanta_add_test(test_fuzz_replay SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_fuzz_replay.cpp
                 LIBS kovanta_fuzz_replay)
