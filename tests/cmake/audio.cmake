# Audio: the sound slots on OpenAL Soft (null backend, no device, wave recording)
# and the synthesised sounds with their synthesiser.
bm_add_test(NAME audio_test SOURCES audio_test.cpp LIBS bm_engine LABELS audio)
bm_add_test(NAME audio_silent_test SOURCES audio_silent_test.cpp LIBS bm_engine LABELS audio)
bm_add_test(NAME audio_record_test SOURCES audio_record_test.cpp LIBS bm_engine LABELS audio)
bm_add_test(NAME sounds_test
  SOURCES sounds_test.cpp
          ${CMAKE_SOURCE_DIR}/tools/synth_sounds/recipe.cpp
          ${CMAKE_SOURCE_DIR}/tools/synth_sounds/render.cpp
  LIBS PkgConfig::OPENAL PkgConfig::ALUT
  LABELS audio)
add_dependencies(sounds_test synth_sounds)
