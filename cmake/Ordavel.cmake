# One helper for every target, so that all of them share warnings, standard and sanitizer set-up.

# Each test runs in one build only, so that `make test` does no work twice: the GoogleTest
# programs, which test the code piece by piece, under the sanitizers, where a memory or undefined
# behaviour fault shows; the scripts that run the real programs end to end, in the optimised
# build, as an operator runs them. A developer's build has both.
option(ORDAVEL_UNIT_TESTS "Build and register the GoogleTest programs" ON)
option(ORDAVEL_PROGRAM_TESTS "Register the tests that run the built programs end to end" ON)

function(ordavel_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
  if(ORDAVEL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Each target sees only its own headers and those of what it links: its headers are published
# as links in an include folder of its own in the build tree, so an include of a library the
# target does not link fails to compile instead of working by accident. The product's headers are
# named from src/ ("convert/ConversionRun.h"), the stand-in's from the top ("standin/site/...").
function(ordavel_publish_headers target scope)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  set(dirs "")
  foreach(source IN LISTS ARGN)
    get_filename_component(dir ${source} DIRECTORY)
    if(NOT IS_ABSOLUTE "${dir}")
      set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    endif()
    cmake_path(NORMAL_PATH dir)
    string(REGEX REPLACE "/$" "" dir "${dir}")
    list(APPEND dirs ${dir})
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  foreach(dir IN LISTS dirs)
    cmake_path(IS_PREFIX ORDAVEL_PRODUCT_DIR "${dir}" product)
    if(product)
      file(RELATIVE_PATH relative ${ORDAVEL_PRODUCT_DIR} ${dir})
    else()
      file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${dir})
    endif()
    # A test's own helpers may sit in folders below its sources.
    if(scope STREQUAL "TEST")
      file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${dir} ${dir}/*.h)
    else()
      file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${dir} ${dir}/*.h)
    endif()
    foreach(header IN LISTS headers)
      get_filename_component(folder ${root}/${relative}/${header} DIRECTORY)
      file(MAKE_DIRECTORY ${folder})
      file(CREATE_LINK ${dir}/${header} ${root}/${relative}/${header} SYMBOLIC)
    endforeach()
  endforeach()
  if(scope STREQUAL "TEST")
    set(scope PRIVATE)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# The standard headers most sources include, and the Qt Widgets headers most of the window's
# sources include: each library of several sources parses them once, in a precompiled header,
# instead of once per source, which more than halves the compile time of the Qt libraries.
set(ORDAVEL_PRECOMPILED_STANDARD
    <algorithm> <filesystem> <functional> <map> <memory> <optional> <sstream> <string>
    <string_view> <vector>)
set(ORDAVEL_PRECOMPILED_QT
    <QtWidgets/QApplication> <QtWidgets/QBoxLayout> <QtWidgets/QComboBox> <QtWidgets/QDialog>
    <QtWidgets/QDialogButtonBox> <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QPushButton>
    <QtWidgets/QTableView> <QtWidgets/QWidget> <QtGui/QKeyEvent>)

# ordavel_library(NAME [SOURCES ...] [HEADERS ...] [DEPENDS ...] [PRECOMPILE ...]): one static
# library per folder, with the standard headers (and PRECOMPILE's) precompiled when it has several
# sources; a library of HEADERS alone (test support made of headers) is an interface library.
function(ordavel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;DEPENDS;PRECOMPILE" ${ARGN})
  if(NOT ARG_SOURCES)
    add_library(${name} INTERFACE)
    ordavel_publish_headers(${name} INTERFACE ${ARG_HEADERS})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  # Without the unit tests, a library is built only when a program links it: test support is not.
  if(NOT ORDAVEL_UNIT_TESTS)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
  ordavel_publish_headers(${name} PUBLIC ${ARG_SOURCES} ${ARG_HEADERS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  ordavel_target_options(${name})
  # GCC 12 reports -Warray-bounds and -Wstringop-overflow in std::string code it inlines from a
  # precompiled standard header, which it does not from an included one, and its optimised
  # builds gain least from one: it precompiles only the Qt and JSON headers.
  set(precompiled ${ARG_PRECOMPILE})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    list(PREPEND precompiled ${ORDAVEL_PRECOMPILED_STANDARD})
  endif()
  list(FILTER ARG_SOURCES INCLUDE REGEX "\\.cpp$")
  list(LENGTH ARG_SOURCES count)
  if(precompiled AND count GREATER_EQUAL 3)
    target_precompile_headers(${name} PRIVATE ${precompiled})
  endif()
endfunction()

# ordavel_executable(NAME SOURCES ... [DEPENDS ...])
function(ordavel_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  ordavel_publish_headers(${name} PRIVATE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  ordavel_target_options(${name})
endfunction()

# The test code itself gains nothing from the optimiser, which doubles its compile time; the code
# under test keeps the build's optimisation.
function(ordavel_test_code_options target)
  ordavel_target_options(${target})
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()

# A target that only the unit tests need is not built without them (it stays defined, so that the
# build files may still name it).
function(ordavel_exclude_unless_unit_tests target)
  if(NOT ORDAVEL_UNIT_TESTS)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# GoogleTest's headers are parsed once per build, not once per test file: every test executable
# reuses the precompiled headers of this one empty test program (a program, so that the headers
# are compiled for executables, as the tests are).
function(ordavel_test_headers)
  if(TARGET ordavel_test_headers)
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/ordavel_test_headers.cpp)
  file(WRITE ${source} "")
  add_executable(ordavel_test_headers ${source})
  ordavel_exclude_unless_unit_tests(ordavel_test_headers)
  target_link_libraries(ordavel_test_headers PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
  ordavel_test_code_options(ordavel_test_headers)
  target_precompile_headers(ordavel_test_headers PRIVATE <gtest/gtest.h> <gmock/gmock.h>
                            ${ORDAVEL_PRECOMPILED_STANDARD})
endfunction()

# The same for the tests of Qt widgets, whose compile options Qt sets: GoogleTest's headers and
# Qt Widgets' are parsed once. QtTest is left out, as its headers depend on the test's folder.
function(ordavel_qt_test_headers)
  if(TARGET ordavel_qt_test_headers)
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/ordavel_qt_test_headers.cpp)
  file(WRITE ${source} "")
  add_executable(ordavel_qt_test_headers ${source})
  ordavel_exclude_unless_unit_tests(ordavel_qt_test_headers)
  target_link_libraries(ordavel_qt_test_headers PRIVATE GTest::gtest GTest::gtest_main GTest::gmock
                                                        Qt6::Widgets)
  ordavel_test_code_options(ordavel_qt_test_headers)
  target_precompile_headers(ordavel_qt_test_headers PRIVATE <gtest/gtest.h> <gmock/gmock.h>
                            ${ORDAVEL_PRECOMPILED_STANDARD} <QtWidgets/QtWidgets>)
endfunction()

# ordavel_test(NAME SOURCES ... [DEPENDS ...] [LABELS ...] [TIMEOUT seconds] [QT]): one GoogleTest
# executable per library; QT for the tests of Qt widgets.
function(ordavel_test name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  ordavel_exclude_unless_unit_tests(${name})
  ordavel_publish_headers(${name} TEST ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main GTest::gmock)
  ordavel_test_code_options(${name})
  if(ARG_QT)
    ordavel_qt_test_headers()
    target_precompile_headers(${name} REUSE_FROM ordavel_qt_test_headers)
  else()
    ordavel_test_headers()
    target_precompile_headers(${name} REUSE_FROM ordavel_test_headers)
  endif()
  if(NOT ORDAVEL_UNIT_TESTS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  # Tests never touch the user's home: the stand-in registry store lives in the build tree.
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}"
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORDAVEL_REGISTRY=${CMAKE_BINARY_DIR}/test-registry/${name}/registry")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-registry/${name})
endfunction()

# ordavel_program_test(NAME COMMAND ... [TIMEOUT seconds] [COST seconds]): a script that runs the
# built programs end to end. COST is about how long it runs: ctest starts the longest first, so
# that two of them do not end the run one after the other.
function(ordavel_program_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;COST" "COMMAND" ${ARGN})
  if(NOT ORDAVEL_PROGRAM_TESTS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 1)
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} COST ${ARG_COST} LABELS programs)
endfunction()

# ordavel_forbid_dependency(TARGET FORBIDDEN): fails the configuration when TARGET links
# FORBIDDEN, directly or through any library it links, so that a layer that must not depend on
# another cannot start to without anyone noticing.
function(ordavel_forbid_dependency target forbidden)
  set(pending ${target})
  set(seen "")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current STREQUAL forbidden)
      message(FATAL_ERROR "${target} must not depend on ${forbidden}, but it does.")
    endif()
    get_target_property(type ${current} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(links ${current} LINK_LIBRARIES)
    endif()
    if(links)
      list(APPEND pending ${links})
    endif()
  endwhile()
endfunction()
