# The texture store, the bitmap font and a contact sheet of every picture.
# The manifest is read here so that every source it names is a dependency:
# Data/ is rebuilt exactly when a source, the manifest or a tool changes.
set(BM_TEXTURE_MANIFEST ${CMAKE_SOURCE_DIR}/assets/textures.manifest)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${BM_TEXTURE_MANIFEST})
file(STRINGS ${BM_TEXTURE_MANIFEST} bm_manifest_lines)
set(BM_TEXTURE_SOURCES "")
foreach(line IN LISTS bm_manifest_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(LENGTH fields nfields)
  if(nfields GREATER 1)
    list(GET fields 1 source)
    if(NOT source MATCHES "^placeholder:")
      list(APPEND BM_TEXTURE_SOURCES ${CMAKE_SOURCE_DIR}/assets/${source})
    endif()
  endif()
endforeach()
list(REMOVE_DUPLICATES BM_TEXTURE_SOURCES)

set(BM_TEXTURE_STORE ${BM_DATA_DIR}/textures_pack)
add_custom_command(
  OUTPUT ${BM_TEXTURE_STORE}.db ${BM_TEXTURE_STORE}.pl
  COMMAND pack_textures ${BM_TEXTURE_MANIFEST} ${CMAKE_SOURCE_DIR}/assets ${BM_TEXTURE_STORE}
  DEPENDS pack_textures ${BM_TEXTURE_MANIFEST} ${BM_TEXTURE_SOURCES}
  COMMENT "Packing textures into Data/textures_pack"
  VERBATIM)

# A bold monospaced face: every glyph fills the same slot of the fixed pen.
set(BM_FONT_SOURCE /usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf)
add_custom_command(
  OUTPUT ${BM_DATA_DIR}/font
  COMMAND make_font ${BM_FONT_SOURCE} ${BM_DATA_DIR}/font
  DEPENDS make_font ${BM_FONT_SOURCE}
  COMMENT "Rendering the bitmap font into Data/font"
  VERBATIM)

set(BM_CONTACT_SHEET ${CMAKE_BINARY_DIR}/contact_sheet.png)
add_custom_command(
  OUTPUT ${BM_CONTACT_SHEET}
  COMMAND contact_sheet ${BM_TEXTURE_MANIFEST} ${BM_TEXTURE_STORE} ${BM_DATA_DIR}/font ${BM_CONTACT_SHEET}
  DEPENDS contact_sheet ${BM_TEXTURE_MANIFEST} ${BM_TEXTURE_STORE}.db ${BM_TEXTURE_STORE}.pl ${BM_DATA_DIR}/font
  COMMENT "Drawing the contact sheet of every texture"
  VERBATIM)

list(APPEND BM_DATA_OUTPUTS ${BM_TEXTURE_STORE}.db ${BM_TEXTURE_STORE}.pl ${BM_DATA_DIR}/font ${BM_CONTACT_SHEET})
