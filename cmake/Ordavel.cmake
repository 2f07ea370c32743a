# One helper for every target, so that all of them share warnings, standard and sanitizer set-up.

function(ordavel_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
  if(ORDAVEL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# ordavel_library(NAME SOURCES ... [DEPENDS ...]): one static library per folder.
function(ordavel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  ordavel_target_options(${name})
endfunction()

# ordavel_executable(NAME SOURCES ... [DEPENDS ...])
function(ordavel_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  ordavel_target_options(${name})
endfunction()

# ordavel_test(NAME SOURCES ... [DEPENDS ...] [LABELS ...]): one GoogleTest executable per library.
function(ordavel_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main GTest::gmock)
  ordavel_target_options(${name})
  # The test code itself gains nothing from the optimiser, which doubles its compile time; the code
  # under test keeps the build's optimisation.
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${name} PRIVATE -O0)
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
