# The vectorised band chain against the plain per-frame loop, bit for bit.
trelvane_add_dsp_test(trelvane-bitexact-tests ${CMAKE_CURRENT_LIST_DIR}/BitExactnessTest.cpp)
