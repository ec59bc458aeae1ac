# Audio: the sound slots on OpenAL Soft's null backend and the built sounds; the
# same binary again with no sound device and with the wave-file backend, each in
# a process of its own since the library reads its configuration once.
bm_add_test(NAME audio_test SOURCES audio_test.cpp LIBS bm_engine LABELS audio)
foreach(run "silent;NoDevice;ALSOFT_DRIVERS=no-such-backend\;BM_NO_SOUND_DEVICE=1" "record;Recorded;BM_RECORD_SOUND=1")
  list(GET run 0 name)
  list(GET run 1 suite)
  list(GET run 2 env)
  add_test(NAME audio_${name}_test COMMAND audio_test --gtest_filter=${suite}.* WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(audio_${name}_test PROPERTIES LABELS audio
    ENVIRONMENT "${env};LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")
endforeach()
