# The Windows window under Wine: a test program of its own that carries the
# program's resources (pictures, version, manifest), so the window finds them
# as quorvik.exe does. scripts/test-windows runs it on a virtual X screen.
add_executable(quorvik_win32_view_tests
  ${CMAKE_CURRENT_LIST_DIR}/cls_tool_tip_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form1_window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_dialogs_test.cpp
  ${QUORVIK_WIN32_RESOURCES}
)
target_link_libraries(quorvik_win32_view_tests PRIVATE quorvik_win32_view quorvik_test_support
                      version GTest::gtest GTest::gtest_main)
quorvik_warnings(quorvik_win32_view_tests)

# The end-to-end test's eyes inside the prefix (tests/app/win32/gui_session.sh).
add_executable(quorvik_gui_probe ${CMAKE_CURRENT_LIST_DIR}/gui_probe.cpp)
target_link_libraries(quorvik_gui_probe PRIVATE quorvik_win32_view quorvik_core)
quorvik_warnings(quorvik_gui_probe)
