# The game's three particle effects, written by make_effects from assets/effects/*.fx into Data/FX/.
set(BM_EFFECT_NAMES cursor point spawn)
file(MAKE_DIRECTORY ${BM_DATA_DIR}/FX)
foreach(effect ${BM_EFFECT_NAMES})
  set(params ${CMAKE_SOURCE_DIR}/assets/effects/${effect}.fx)
  set(lfx ${BM_DATA_DIR}/FX/${effect}.lfx)
  add_custom_command(
    OUTPUT ${lfx}
    COMMAND make_effects ${params} ${lfx}
    DEPENDS make_effects ${params}
    COMMENT "Writing FX/${effect}.lfx"
    VERBATIM)
  list(APPEND BM_DATA_OUTPUTS ${lfx})
endforeach()
