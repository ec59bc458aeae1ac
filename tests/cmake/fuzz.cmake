# Fuzz targets of the readers (libFuzzer): built only by scripts/fuzz, with clang,
# -DBM_FUZZ=ON and the sanitizers, linked with the stand-in for the GL texture calls.
if(BM_FUZZ)
  foreach(reader store panel effect sound font record)
    add_executable(fuzz_${reader} fuzz/fuzz_${reader}.cpp fuzz/fake_gl.cpp)
    target_compile_options(fuzz_${reader} PRIVATE ${BM_WARNINGS} -fsanitize=fuzzer)
    target_link_options(fuzz_${reader} PRIVATE -fsanitize=fuzzer)
    target_include_directories(fuzz_${reader} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(fuzz_${reader} PRIVATE bm_game bm_engine bm_platform_fake)
  endforeach()
endif()
