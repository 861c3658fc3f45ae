# Helpers that keep each module's CMakeLists.txt to a few lines.
#
# tamrix_library(NAME [SHARED|MODULE] [GLOBS patterns...] [LINK libs...])
#   Builds a library from the files that GLOBS match in the current folder (default
#   *.cpp), with the repository root on the include path and our warnings as errors.
#   Libraries named platform_* are shared: they stand in for the system's own services
#   (window system, registry, presenters, ...), so a process holds one copy of their state
#   however many modules it loads. Other libraries are static and private to each module.
# tamrix_object_library(NAME [GLOBS patterns...] [LINK libs...])
#   Compiles the files that GLOBS match (default *.cpp) into objects that a shared library
#   puts together with others (`$<TARGET_OBJECTS:NAME>`): a layer of one library that has
#   its own folder, its own include rules and its own tests. LINK gives the layer the
#   include paths and definitions of what it uses; the library that holds it links them.
# tamrix_tests(NAME [GLOBS patterns...] LINK libs...)
#   Builds NAME from the files that GLOBS match (default tests/*.cpp), links GoogleTest
#   and registers each test case with ctest.
# tamrix_test_program(NAME SOURCE file FOR tests DEFINE VARIABLE [LINK libs...])
#   A second program that the tests FOR start: built before them, its path given to them
#   as the compile definition VARIABLE.

function(tamrix_glob out default)
  set(patterns ${ARGN})
  if(NOT patterns)
    set(patterns ${default})
  endif()
  list(TRANSFORM patterns PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  file(GLOB files CONFIGURE_DEPENDS ${patterns})
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Warnings are errors in the normal build. The sanitizer and fuzz builds only report them:
# GCC's flow analysis gives false alarms (maybe-uninitialized, restrict) on instrumented
# code, and clang warns about other things than the compiler the code is kept clean for.
function(tamrix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(NOT TAMRIX_SANITIZE AND NOT TAMRIX_FUZZ)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(tamrix_library name)
  cmake_parse_arguments(ARG "SHARED;MODULE" "" "GLOBS;LINK" ${ARGN})
  tamrix_glob(sources "*.cpp" ${ARG_GLOBS})
  if(ARG_SHARED OR (name MATCHES "^platform_" AND NOT ARG_MODULE))
    add_library(${name} SHARED ${sources})
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${TAMRIX_BIN_DIR})
  elseif(ARG_MODULE)
    add_library(${name} MODULE ${sources})
  else()
    add_library(${name} STATIC ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  tamrix_warnings(${name})
endfunction()

function(tamrix_object_library name)
  cmake_parse_arguments(ARG "" "" "GLOBS;LINK;PROPERTIES" ${ARGN})
  tamrix_glob(sources "*.cpp" ${ARG_GLOBS})
  add_library(${name} OBJECT ${sources})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  tamrix_warnings(${name})
endfunction()

function(tamrix_tests name)
  cmake_parse_arguments(ARG "" "" "GLOBS;LINK;PROPERTIES" ${ARGN})
  tamrix_glob(sources "tests/*.cpp" ${ARG_GLOBS})
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TAMRIX_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
    TAMRIX_STAGE_DIR="${TAMRIX_STAGE_DIR}"
    TAMRIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  tamrix_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
endfunction()

# Adds every sub-folder of the current folder that has a CMakeLists.txt, in name
# order, so a new module needs no edit of its parent's file.
function(tamrix_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# The targets that `folder` and the folders below it define, into `out`.
function(tamrix_targets_below folder out)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(child ${children})
    tamrix_targets_below(${child} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Links the programs' heap settings (platform/heap) into every executable defined in
# `folder` and the folders below it; called once, after all of them are defined.
function(tamrix_use_heap_settings folder)
  tamrix_targets_below(${folder} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE platform_heap)
    endif()
  endforeach()
endfunction()

# Gives every program and library that `folder` and the folders below it place in the stage
# tree (build/stage, laid out as an installation) its installed run path ($ORIGIN...) in
# the build too. A build run path that install rewrites is padded with empty entries, and
# the loader reads an empty entry as the current folder: a program of the stage tree would
# load a library of that name from wherever it is started. Called once, after all of them
# are defined.
function(tamrix_stage_run_paths folder)
  tamrix_targets_below(${folder} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(output ${target} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    string(FIND "${output}" "${TAMRIX_STAGE_DIR}/" inStage)
    if(inStage EQUAL 0)
      set_target_properties(${target} PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
    endif()
  endforeach()
endfunction()

# Installs every shared library that `folder` and the folders below it place beside the
# programs (the platform libraries, the template engine) into <prefix>/bin, where the
# programs' $ORIGIN run path finds them; called once, after all of them are defined.
function(tamrix_install_shared_libraries folder)
  tamrix_targets_below(${folder} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
    if(type STREQUAL "SHARED_LIBRARY" AND output STREQUAL TAMRIX_BIN_DIR)
      install(TARGETS ${target} LIBRARY DESTINATION bin)
    endif()
  endforeach()
endfunction()

function(tamrix_test_program name)
  cmake_parse_arguments(ARG "" "SOURCE;FOR;DEFINE" "LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCE})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  tamrix_warnings(${name})
  add_dependencies(${ARG_FOR} ${name})
  target_compile_definitions(${ARG_FOR} PRIVATE ${ARG_DEFINE}="$<TARGET_FILE:${name}>")
endfunction()
