# The models of the ERP's controls: field edit control, stand-alone field, grid, finder and
# filter window, as the program and the widgets that draw them use them.
set(HOST_CONTROLS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/controls/AccpacField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/FieldEditControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/Finder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/GridControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/StandaloneField.cpp
)
set(HOST_CONTROLS_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/controls/tests/FieldEditControlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/tests/FinderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/tests/GridControlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/tests/StandaloneFieldTest.cpp
)
