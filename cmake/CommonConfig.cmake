# Warnings and strict Qt conversions for every target of the project.
add_library(etibarix_options INTERFACE)
target_compile_features(etibarix_options INTERFACE cxx_std_20)
target_compile_options(etibarix_options INTERFACE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual)
if(ETIBARIX_WERROR)
  target_compile_options(etibarix_options INTERFACE -Werror)
endif()
# Data is Windows-1252 bytes; an implicit char* -> QString conversion would
# silently decode it as UTF-8, so such conversions must not compile.
target_compile_definitions(etibarix_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER
  # Qt 6.4 reads the first, later versions the second.
  QT_DISABLE_DEPRECATED_BEFORE=0x060400
  QT_DISABLE_DEPRECATED_UP_TO=0x060400)
if(ETIBARIX_SANITIZE)
  target_compile_options(etibarix_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # GCC's flow analysis reports moved-from Qt containers as "maybe
  # uninitialized" once the sanitizers instrument them; the plain build keeps
  # the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(etibarix_options INTERFACE -Wno-maybe-uninitialized)
  endif()
  target_link_options(etibarix_options INTERFACE -fsanitize=address,undefined)
endif()
if(ETIBARIX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ETIBARIX_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
  # Everything is instrumented for coverage; the fuzz executables add the
  # engine itself (-fsanitize=fuzzer) at link time.
  target_compile_options(etibarix_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(etibarix_options INTERFACE -fsanitize=address,undefined)
endif()
