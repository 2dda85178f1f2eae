target_sources(quorvik_settings PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scr_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/video_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/backup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setting_values.cpp
)
