# The ERP's published Web API behind the host interfaces, and the composition root that wires it
# into a program; only entry points and tests link it. HTTP comes from cpp-httplib (with OpenSSL
# for HTTPS), JSON from nlohmann-json, the metadata's XML from expat.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
pkg_check_modules(EXPAT REQUIRED IMPORTED_TARGET expat)
find_package(nlohmann_json REQUIRED)

# The view layouts ship inside the library.
set(layouts ${CMAKE_CURRENT_SOURCE_DIR}/webapi/ViewLayouts.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${layouts})
file(READ ${layouts} ORDAVEL_VIEW_LAYOUTS)
configure_file(webapi/ShippedViewLayouts.cpp.in
               ${CMAKE_CURRENT_BINARY_DIR}/webapi/ShippedViewLayouts.cpp @ONLY)

ordavel_library(host_webapi
  SOURCES
    webapi/EntitySets.cpp
    webapi/ViewLayouts.cpp
    webapi/PropertyMaps.cpp
    webapi/WebApiAddress.cpp
    webapi/WebApiFailure.cpp
    webapi/WebApiTransport.cpp
    webapi/ODataClient.cpp
    webapi/Metadata.cpp
    webapi/ErpFilter.cpp
    webapi/FilterTranslation.cpp
    webapi/FieldValues.cpp
    webapi/RecordValues.cpp
    webapi/TaxTables.cpp
    webapi/WebApiCompany.cpp
    webapi/RecordWrite.cpp
    webapi/WebApiLink.cpp
    webapi/WebApiDataSource.cpp
    webapi/WebApiSession.cpp
    webapi/WebApiHost.cpp
    webapi/ServerCheck.cpp
  DEPENDS host PkgConfig::HTTPLIB PkgConfig::EXPAT nlohmann_json::nlohmann_json
  PRECOMPILE <nlohmann/json.hpp>)
target_sources(host_webapi PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/webapi/ShippedViewLayouts.cpp)

# Test support: a stand-in site served by the stand-in's Web API server, and a client on it.
ordavel_library(host_webapi_testsupport
  SOURCES webapi/tests/testsupport/ServedCompany.cpp
  DEPENDS host_webapi erp_webapi erp_testsupport platform_testsupport)

ordavel_test(host_webapi_tests
  SOURCES
    webapi/tests/ViewLayoutsTest.cpp
    webapi/tests/FilterTranslationTest.cpp
    webapi/tests/WebApiDataSourceTest.cpp
    webapi/tests/WebApiSignonTest.cpp
    webapi/tests/WebApiSettingsTest.cpp
    webapi/tests/WebApiValuesTest.cpp
  DEPENDS host_webapi_testsupport erp_catalog erp_filter)

# The example jobs through `erp webapi` on one copy of the sample site and directly on another:
# the same statuses, logs, change files and views; then every change file undone through it.
ordavel_program_test(webapi_examples
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/webapi/tests/examples-through-webapi.sh
          $<TARGET_FILE:erp_command> $<TARGET_FILE:ordavel-batch> ${PROJECT_SOURCE_DIR}/examples
  COST 24
  # A sanitizer build that runs it needs some 270 s on a busy 2-core machine.
  TIMEOUT 600)
# Faults of a run through the Web API: wrong password, a module the user may not use, hidden
# taxes, a busy server, criteria that cannot be sent, a slow server, a server stopped mid-run.
ordavel_program_test(webapi_faults
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/webapi/tests/webapi-faults.sh
          $<TARGET_FILE:erp_command> $<TARGET_FILE:ordavel-batch> ${PROJECT_SOURCE_DIR}/examples
  COST 32)
