# Developer tools built next to the game; none of them is installed.
# pngdump: decodes a PNG through the game's image registry and writes the
# raw 0xAARRGGBB pixels, for comparing the decoder with reference dumps.
add_executable(pngdump ${CMAKE_SOURCE_DIR}/tools/pngdump.cpp)
target_link_libraries(pngdump PRIVATE vorncore)

# configdoc: prints the configuration key reference for the README.
add_executable(configdoc tools/configdoc.cpp)
target_link_libraries(configdoc PRIVATE vorncore)
