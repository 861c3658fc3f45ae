# Every third-party library the project links, found in one place. Modules link the
# imported targets named here.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XML2 REQUIRED IMPORTED_TARGET libxml-2.0)
pkg_check_modules(XSLT REQUIRED IMPORTED_TARGET libxslt)
pkg_check_modules(EXSLT REQUIRED IMPORTED_TARGET libexslt)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(TIDY REQUIRED IMPORTED_TARGET tidy)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(GUMBO REQUIRED IMPORTED_TARGET gumbo)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(PANGOFT2 REQUIRED IMPORTED_TARGET pangoft2)
pkg_check_modules(FRIBIDI REQUIRED IMPORTED_TARGET fribidi)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
pkg_check_modules(JEMALLOC REQUIRED IMPORTED_TARGET jemalloc)
pkg_check_modules(GTK4 REQUIRED IMPORTED_TARGET gtk4)
find_package(GIF REQUIRED)
find_package(JPEG REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

# The packaged httplib.h only declares; the library holds the code, built with the
# definitions that pkg-config gives (they change the classes' layout).
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
add_library(httplib INTERFACE)
target_link_libraries(httplib INTERFACE PkgConfig::HTTPLIB Threads::Threads)

# litehtml (the page layout engine) ships no pkg-config file and a CMake package without
# include paths for its shared library; built for UTF-8 text.
find_library(LITEHTML_LIBRARY NAMES litehtml REQUIRED)
find_path(LITEHTML_INCLUDE_DIR litehtml.h PATH_SUFFIXES litehtml REQUIRED)
add_library(litehtml_engine INTERFACE)
target_include_directories(litehtml_engine SYSTEM INTERFACE ${LITEHTML_INCLUDE_DIR})
target_compile_definitions(litehtml_engine INTERFACE LITEHTML_UTF8)
target_link_libraries(litehtml_engine INTERFACE ${LITEHTML_LIBRARY} PkgConfig::GUMBO)

include(GoogleTest)
