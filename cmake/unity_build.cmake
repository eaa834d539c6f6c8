# Unity builds (-DCMAKE_UNITY_BUILD=ON: ./test, CI, the package; the Windows project always):
# each target's sources compiled in batches, so that a build from scratch reads the headers once
# per batch instead of once per file. GCC takes every source of a batch for a header and warns
# where a class uses a type of the anonymous namespace, which in a header would differ between
# the files that include it; in a batch it cannot.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-subobject-linkage)
endif()
