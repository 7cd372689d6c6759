# The engine's benchmark: the real processor, a plain framework-based chain
# doing the same work, and the bare filter recurrences, in one binary.
find_package(benchmark REQUIRED)

add_executable(trelvane-bench
    ${CMAKE_CURRENT_LIST_DIR}/EngineBenchmark.cpp
    # The framework's DSP module, which only the plain comparison chain uses.
    # The shared-code library already holds the modules it depends on, so this
    # one translation unit is all that is compiled here.
    ${CMAKE_CURRENT_LIST_DIR}/JuceDspModule.cpp)
trelvane_link_shared_code(trelvane-bench)
target_link_libraries(trelvane-bench PRIVATE benchmark::benchmark)

# The DSP module reaches into the audio-format module (the convolution's file
# loading), whose Debian build uses the system codec libraries; nothing else
# that links the shared code pulls that part in, so only this target names them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TRELVANE_BENCH_CODECS REQUIRED IMPORTED_TARGET flac vorbisfile vorbisenc vorbis ogg)
target_link_libraries(trelvane-bench PRIVATE PkgConfig::TRELVANE_BENCH_CODECS)
