# The scroll bar in a real window under real input, and its drawing read back from a bitmap.
set(_here ${CMAKE_CURRENT_LIST_DIR})
kyrox_add_test(qxsdk_ui_scroll_bar_tests
  SOURCES ${_here}/scroll_bar_test.cpp ${_here}/../draw/bitmap_canvas.cpp
  LIBS qxsdk_ui_controls)
set_tests_properties(qxsdk_ui_scroll_bar_tests PROPERTIES RESOURCE_LOCK wine_desktop_input)
target_compile_definitions(qxsdk_ui_scroll_bar_tests PRIVATE KYROX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
