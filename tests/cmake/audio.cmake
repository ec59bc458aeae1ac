# Audio: the sound slots on OpenAL Soft's null backend and the built sounds.
bm_add_test(NAME audio_test SOURCES audio_test.cpp LIBS bm_engine LABELS audio)
