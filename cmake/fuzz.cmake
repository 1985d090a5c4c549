# Fuzzing of the input readers: the PNG decoder, the configuration text and
# the demo reader. Each target in fuzz/ is built two ways:
# - with the test suite: linked with fuzz/replay_main.cpp into
#   fuzz_replay_TARGET, and the CTest test fuzz_replay_TARGET replays the
#   checked-in corpus fuzz/corpus/TARGET, so an input that once failed keeps
#   being checked by every ordinary build;
# - with VORN_FUZZ=ON, in a separate clang build, as a libFuzzer binary
#   TARGET_fuzz (tools/fuzz.sh configures, builds and runs it):
#     CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DVORN_FUZZ=ON -DVORN_TESTS=OFF
option(VORN_FUZZ "Build the libFuzzer targets (needs clang and its runtime)" OFF)

set(VORN_FUZZ_TARGETS png config demo)

if(VORN_TESTS)
  enable_testing()
  foreach(target ${VORN_FUZZ_TARGETS})
    add_executable(fuzz_replay_${target}
      ${CMAKE_SOURCE_DIR}/fuzz/${target}_fuzz.cpp
      ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(fuzz_replay_${target} PRIVATE vorncore)
    add_test(NAME fuzz_replay_${target}
      COMMAND fuzz_replay_${target} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(fuzz_replay_${target} PROPERTIES TIMEOUT 300)
  endforeach()
endif()

if(VORN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VORN_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # The library gets coverage instrumentation without libFuzzer's main();
  # whatever links it needs the sanitizer runtimes.
  set(VORN_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  target_compile_options(vorncore PRIVATE -fsanitize=fuzzer-no-link ${VORN_FUZZ_SANITIZERS})
  target_link_options(vorncore INTERFACE -fsanitize=address,undefined)
  foreach(target ${VORN_FUZZ_TARGETS})
    add_executable(${target}_fuzz ${CMAKE_SOURCE_DIR}/fuzz/${target}_fuzz.cpp)
    target_compile_options(${target}_fuzz PRIVATE -fsanitize=fuzzer ${VORN_FUZZ_SANITIZERS})
    target_link_options(${target}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${target}_fuzz PRIVATE vorncore)
  endforeach()
endif()
