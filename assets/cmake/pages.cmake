# The page about the game that the credits' link opens, copied into Data/.
set(BM_ABOUT_PAGE ${BM_DATA_DIR}/about.html)
add_custom_command(
  OUTPUT ${BM_ABOUT_PAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/assets/about.html ${BM_ABOUT_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/assets/about.html
  COMMENT "Copying about.html"
  VERBATIM)
list(APPEND BM_DATA_OUTPUTS ${BM_ABOUT_PAGE})
