# The game's nine sounds, synthesised from the recipes in assets/sounds/ into Data/sFx/.
set(BM_SOUND_NAMES music powerup spawn_2 ding spawn swoosh carrots eagle click)
file(MAKE_DIRECTORY ${BM_DATA_DIR}/sFx)
foreach(sound ${BM_SOUND_NAMES})
  set(recipe ${CMAKE_SOURCE_DIR}/assets/sounds/${sound}.recipe)
  set(wav ${BM_DATA_DIR}/sFx/${sound}.wav)
  add_custom_command(
    OUTPUT ${wav}
    COMMAND synth_sounds ${recipe} ${wav}
    DEPENDS synth_sounds ${recipe}
    COMMENT "Synthesising sFx/${sound}.wav"
    VERBATIM)
  list(APPEND BM_DATA_OUTPUTS ${wav})
endforeach()
