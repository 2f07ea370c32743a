# The ERP installation as the program sees it: its folders, its site configuration, the version
# texts, and a small tool that prints them for a site.
set(HOST_INSTALL_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SharedLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AccpacPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AccpacSiteCnfg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileVersion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VersionInfo.cpp
)
set(HOST_INSTALL_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/tests/AccpacPathsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/AccpacSiteCnfgTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/VersionInfoTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/FileVersionTest.cpp
)

# The tests install a stand-in runtime from the libraries built in the erp folder.
set_source_files_properties(${HOST_INSTALL_TESTS} PROPERTIES COMPILE_DEFINITIONS
  "ORDAVEL_RUNTIME_LIBRARIES=\"$<TARGET_FILE_DIR:a4wapi>\"")
cmake_language(DEFER CALL add_dependencies host_tests a4wapi DsktpEng)

ordavel_executable(ordavel-installation
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tools/ShowInstallation.cpp
  DEPENDS host_standin)
