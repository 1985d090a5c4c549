# Developer tools built next to the game; none of them is installed.
# pngdump: decodes a PNG through the game's image registry and writes the
# raw 0xAARRGGBB pixels, for comparing the decoder with reference dumps.
add_executable(pngdump ${CMAKE_SOURCE_DIR}/tools/pngdump.cpp)
target_link_libraries(pngdump PRIVATE vorncore)

# configdoc: prints the configuration key reference for the README.
add_executable(configdoc tools/configdoc.cpp)
target_link_libraries(configdoc PRIVATE vorncore)

# The scripted games (shared by the tests and record_demos) and the tool that
# records them as the golden demos in tests/demos/.
add_library(vorn_scenarios STATIC tools/scenarios.cpp)
target_link_libraries(vorn_scenarios PUBLIC vorncore)
target_include_directories(vorn_scenarios PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(record_demos tools/record_demos.cpp)
target_link_libraries(record_demos PRIVATE vorn_scenarios)

# sfx_render: writes every sound effect as a WAV file, for listening checks.
add_executable(sfx_render tools/sfx_render.cpp)
target_link_libraries(sfx_render PRIVATE vorncore)
# atan_check: the long check of the game's arctangent against MPFR (and the
# generator of its constant table), built when MPFR is installed.
find_library(VORN_MPFR mpfr)
find_library(VORN_GMP gmp)
if(VORN_MPFR AND VORN_GMP)
  add_executable(atan_check tools/atan_check.cpp)
  target_link_libraries(atan_check PRIVATE vorncore ${VORN_MPFR} ${VORN_GMP})
endif()

# optiondoc: prints the option list and the controls for the README and the
# manual page.
add_executable(optiondoc tools/optiondoc.cpp)
target_link_libraries(optiondoc PRIVATE vorncore)
