# The module keeps its texts as GBK bytes; sources stay UTF-8 and the
# compiler converts the literals.
function(telmar_gbk_texts target)
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
endfunction()

# Programs look for their libraries in ../lib, libraries beside themselves.
function(telmar_program target)
  set_target_properties(${target} PROPERTIES BUILD_RPATH "\$ORIGIN/../lib")
endfunction()
function(telmar_library target)
  set_target_properties(${target} PROPERTIES BUILD_RPATH "\$ORIGIN")
endfunction()

# Tests that look inside the plug-in's object: its class's type information
# stays inside the plug-in, so the sanitizer's dynamic-type check of those
# accesses cannot run from outside.
function(telmar_inspects_plugin_objects target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  if(TELMAR_SANITIZE)
    target_compile_options(${target} PRIVATE -fno-sanitize=vptr)
  endif()
endfunction()
