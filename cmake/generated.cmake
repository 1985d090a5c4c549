# Sources generated at build time: the font image, built by the host tool
# fontgen from the glyph source and compiled into vorncore as a byte array.
# A cross build (the browser's) runs a fontgen built for this machine, named
# by VORN_HOST_FONTGEN.
if(CMAKE_CROSSCOMPILING)
  if(NOT VORN_HOST_FONTGEN)
    message(FATAL_ERROR "a cross build needs VORN_HOST_FONTGEN: the fontgen of a build for this machine")
  endif()
  set(VORN_FONTGEN ${VORN_HOST_FONTGEN})
else()
  add_executable(fontgen
    ${CMAKE_SOURCE_DIR}/tools/fontgen.cpp
    ${CMAKE_SOURCE_DIR}/src/gfx/glyph_source.cpp)
  target_include_directories(fontgen PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(fontgen PRIVATE ZLIB::ZLIB)
  set(VORN_FONTGEN fontgen)
endif()

set(VORN_FONT_GLYPHS ${CMAKE_SOURCE_DIR}/src/gfx/font_glyphs.txt)
set(VORN_FONT_DATA ${CMAKE_BINARY_DIR}/generated/font_data.cpp)
add_custom_command(
  OUTPUT ${VORN_FONT_DATA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${VORN_FONTGEN} ${VORN_FONT_GLYPHS} ${VORN_FONT_DATA}
  DEPENDS ${VORN_FONTGEN} ${VORN_FONT_GLYPHS}
  COMMENT "Building the font image from font_glyphs.txt"
  VERBATIM)
target_sources(vorncore PRIVATE ${VORN_FONT_DATA})

# Developer's enlarged view of the glyphs (not part of the default build):
#   cmake --build build --target fontsheet
#   build/fontsheet src/gfx/font_glyphs.txt sheet.ppm 4 "Sample text"
add_executable(fontsheet EXCLUDE_FROM_ALL
  ${CMAKE_SOURCE_DIR}/tools/fontsheet.cpp
  ${CMAKE_SOURCE_DIR}/src/gfx/glyph_source.cpp)
target_include_directories(fontsheet PRIVATE ${CMAKE_SOURCE_DIR}/src)
