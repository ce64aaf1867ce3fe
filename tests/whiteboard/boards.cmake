# The whiteboard set: snapshots, board files, the board set model, its rules and the PDF export.
veltrin_add_test(veltrin_whiteboard_boards_tests GUI
  SOURCES boards/BoardSnapshotTest.cpp boards/BoardRulesTest.cpp boards/BoardSetTest.cpp boards/BoardPdfExportTest.cpp boards/ScreenCaptureTest.cpp
          boards/ClipArtPickerTest.cpp boards/NewWhiteboardPanelTest.cpp
          boards/BoardTestSupport.h
  LIBS veltrin_whiteboard Qt6::Test)
# The clip-art and templates are generated files the tests look up.
add_dependencies(veltrin_whiteboard_boards_tests veltrin_resources)

# The reference server's board set, driven by raw clients.
veltrin_add_test(veltrin_server_boardset_tests
  SOURCES ${PROJECT_SOURCE_DIR}/tests/server/BoardSetTest.cpp
  LIBS veltrin_server_core veltrin_server_testkit)
target_include_directories(veltrin_server_boardset_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/server)
