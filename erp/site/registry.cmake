set(ERP_REGISTRY_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RegistryStore.cpp
)
set(ERP_REGISTRY_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/tests/RegistryStoreTest.cpp
)
