# The window's icon at the sizes a task bar and a window switcher ask for, from the
# same SVG as the installed icons: rasterised, then stored the way the game reads it.
find_program(BM_RSVG_CONVERT rsvg-convert REQUIRED)
set(BM_ICON_SOURCE ${CMAKE_SOURCE_DIR}/assets/art/icon/burrowmere.svg)
set(BM_ICON_SCRATCH ${CMAKE_CURRENT_BINARY_DIR}/icon)
foreach(size 16 32 48 64 128)
  set(icon ${BM_DATA_DIR}/icon/${size}.argb)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BM_ICON_SCRATCH} ${BM_DATA_DIR}/icon
    COMMAND ${BM_RSVG_CONVERT} -w ${size} -h ${size} -o ${BM_ICON_SCRATCH}/${size}.png ${BM_ICON_SOURCE}
    COMMAND make_icon ${BM_ICON_SCRATCH}/${size}.png ${size} ${icon}
    DEPENDS ${BM_ICON_SOURCE} make_icon
    COMMENT "Making the ${size} px window icon"
    VERBATIM)
  list(APPEND BM_DATA_OUTPUTS ${icon})
endforeach()
