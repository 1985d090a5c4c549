# The browser build, configured by tools/web.sh through emcmake: the same
# game library with the browser's platform files, emscripten's SDL 1.2, zlib
# built for wasm (ZLIB_INCLUDE_DIR and ZLIB_LIBRARY), and the page's script.
# One thread, the portable kernels; the output is vorn.js and vorn.wasm.
find_package(ZLIB REQUIRED)

# A file NAME_web.cpp takes the place of NAME.cpp; the X11 work area has no
# place in a page at all.
file(GLOB_RECURSE VORN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
file(GLOB_RECURSE VORN_WEB_TWINS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_web.cpp)
foreach(twin ${VORN_WEB_TWINS})
  string(REGEX REPLACE "_web\\.cpp$" ".cpp" desktop ${twin})
  list(REMOVE_ITEM VORN_SOURCES ${desktop})
endforeach()
list(FILTER VORN_SOURCES EXCLUDE REGEX ".*/src/(app/main|app/web_main|platform/x11_work_area)\\.cpp$")

add_library(vorncore STATIC ${VORN_SOURCES})
target_include_directories(vorncore PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(vorncore PUBLIC ZLIB::ZLIB)
include(cmake/generated.cmake)

set(VORN_PAGE_SCRIPT ${CMAKE_SOURCE_DIR}/web/page.js)
add_executable(vorn src/app/web_main.cpp)
target_link_libraries(vorn PRIVATE vorncore)
target_link_options(vorn PRIVATE
  -sENVIRONMENT=web
  --profiling-funcs  # function names, for readable stack traces and profiles
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_RUNTIME_METHODS=ccall,FS,UTF8ToString
  --pre-js ${VORN_PAGE_SCRIPT})
set_target_properties(vorn PROPERTIES LINK_DEPENDS ${VORN_PAGE_SCRIPT})
