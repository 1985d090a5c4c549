# The benchmark program vorn_bench (Google Benchmark), built with the rest
# whenever the library is installed; tools/bench.sh builds it optimised and
# runs it.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(vorn_bench ${CMAKE_SOURCE_DIR}/bench/vorn_bench.cpp)
  target_link_libraries(vorn_bench PRIVATE vorncore benchmark::benchmark)
else()
  message(STATUS "Google Benchmark not found: vorn_bench is not built")
endif()
