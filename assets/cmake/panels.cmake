# The five panel files, written by make_panel from assets/panels/<name>.layout and
# the pictures each layout names; a panel is rebuilt when its layout, one of its
# pictures or the tool changes.
foreach(panel menu help_0 credits skills interface)
  set(layout ${CMAKE_SOURCE_DIR}/assets/panels/${panel}.layout)
  set(output ${BM_DATA_DIR}/${panel}.gui)
  # Re-run configure when a layout changes, so a new picture becomes a dependency.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${layout})
  file(STRINGS ${layout} picture_lines REGEX "^[ \t]*picture[ \t]")
  set(pictures "")
  foreach(line ${picture_lines})
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(REGEX REPLACE "^[ \t]*picture[ \t]+[^ \t]+[ \t]+([^ \t]+).*$" "\\1" path "${line}")
    list(APPEND pictures ${CMAKE_SOURCE_DIR}/assets/${path})
  endforeach()
  add_custom_command(
    OUTPUT ${output}
    COMMAND make_panel ${layout} ${CMAKE_SOURCE_DIR}/assets ${output}
    DEPENDS make_panel ${layout} ${pictures}
    COMMENT "Writing panel ${panel}.gui"
    VERBATIM)
  list(APPEND BM_DATA_OUTPUTS ${output})
endforeach()
