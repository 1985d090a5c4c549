# The soak runner: many generated configurations with extreme settings and
# random input played headless through the game's own frame procedure.
# A short run is part of the test suite; tools/soak.sh runs a long one.
find_package(Threads REQUIRED)
add_executable(vorn_soak ${CMAKE_SOURCE_DIR}/tools/soak.cpp)
target_link_libraries(vorn_soak PRIVATE vorncore Threads::Threads)

if(VORN_TESTS)
  add_test(NAME soak_short COMMAND vorn_soak --configs 30 --frames 100 --seed 1)
  set_tests_properties(soak_short PROPERTIES TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=dummy")
endif()
