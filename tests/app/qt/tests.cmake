find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
set(CMAKE_AUTOMOC ON)

# One QtTest executable per test class, run offscreen on a desktop's screen
# (the offscreen screen's own 800x600 would make the window shrink to fit).
function(quorvik_view_test name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE quorvik_qt quorvik_test_support Qt6::Test)
  quorvik_warnings(${name})
  add_test(NAME view.${name} COMMAND ${name})
  set_tests_properties(view.${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/data/screens/desktop.json;QUORVIK_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
endfunction()

quorvik_view_test(form1_window_test ${CMAKE_CURRENT_LIST_DIR}/form1_window_test.cpp)
quorvik_view_test(tooltip_test ${CMAKE_CURRENT_LIST_DIR}/tooltip_test.cpp)
quorvik_view_test(qt_dialogs_test ${CMAKE_CURRENT_LIST_DIR}/qt_dialogs_test.cpp)
quorvik_view_test(session_test ${CMAKE_CURRENT_LIST_DIR}/session_test.cpp)

# A 1280x800 handheld at 150 %: the window shrinks to fit what is left of it.
add_test(NAME view.form1_window_handheld COMMAND form1_window_test fitsTheScreen)
set_tests_properties(view.form1_window_handheld PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/data/screens/handheld.json;QT_SCALE_FACTOR=1.5")

# With no display at all the window says so and how to use quorvik-cli
# instead, and ends with status 1, not with Qt's abort.
add_test(NAME window.without_display COMMAND sh -c [=[
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1)
  status=$?
  printf '%s\n' "$said"
  [ "$status" -eq 1 ] && printf '%s\n' "$said" | grep -q '^quorvik: no display was found' &&
    printf '%s\n' "$said" | grep -q 'quorvik-cli show'
]=] sh $<TARGET_FILE:quorvik>)
