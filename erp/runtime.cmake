# The stand-in installation: the site configuration library, the edition-names library, and the
# installer that puts them with accpac.exe and A4W.INI into a site's runtime folder.
set(ERP_RUNTIME_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/runtime/SiteConfigRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runtime/Installation.cpp
)
set(ERP_RUNTIME_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/tests/RuntimeInstallationTest.cpp
)

# Both libraries are built beside the `erp` command, where the installer looks for them. Only
# their own entry points are exported: the erp code linked into them stays private.
function(erp_runtime_library target file)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX "" SUFFIX ".dll" OUTPUT_NAME ${file}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
  ordavel_target_options(${target})
endfunction()

erp_runtime_library(a4wapi a4wapi ${CMAKE_CURRENT_LIST_DIR}/runtime/A4wApi.cpp)
target_link_libraries(a4wapi PRIVATE erp)
erp_runtime_library(DsktpEng DsktpEng ${CMAKE_CURRENT_LIST_DIR}/runtime/DsktpEng.cpp)

# The command and the tests install these libraries, so they must be built first.
function(erp_runtime_dependencies)
  foreach(target erp_command erp_tests)
    if(TARGET ${target})
      add_dependencies(${target} a4wapi DsktpEng)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL erp_runtime_dependencies)
