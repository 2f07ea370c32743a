set(ERP_SAMPLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RecordWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SiteFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleNames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleKinds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleTaxServices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleStory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleSite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CompanyGenerator.cpp
)
# The query command's printing is tested through the command itself, so its source is compiled
# into the test executable as well.
set(ERP_SAMPLE_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/tests/SampleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/QueryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command/QueryCommand.cpp
)
list(APPEND ERP_COMMAND_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command/SampleCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command/GenerateCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command/QueryCommand.cpp
)
