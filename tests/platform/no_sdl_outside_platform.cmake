# Check run with cmake -P: board/ and ui/ of ROOT neither include SDL headers nor name SDL_.
# Fails naming each offending file; the game talks to SDL only through platform/disp.h.
if(NOT DEFINED ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<repository> -P no_sdl_outside_platform.cmake")
endif()
set(offenders "")
foreach(dir board ui)
  file(GLOB_RECURSE files LIST_DIRECTORIES false
    "${ROOT}/${dir}/*.h" "${ROOT}/${dir}/*.hpp" "${ROOT}/${dir}/*.hh" "${ROOT}/${dir}/*.inl"
    "${ROOT}/${dir}/*.c" "${ROOT}/${dir}/*.cc" "${ROOT}/${dir}/*.cpp" "${ROOT}/${dir}/*.cxx"
    "${ROOT}/${dir}/CMakeLists.txt" "${ROOT}/${dir}/*.cmake")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" hits REGEX "#[ \t]*include[ \t]*[<\"](SDL2/)?SDL|SDL_|SDL2::")
    if(hits)
      file(RELATIVE_PATH name "${ROOT}" "${file}")
      list(APPEND offenders "${name}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " listed)
  message(FATAL_ERROR "SDL used outside platform/ in:\n  ${listed}")
endif()
message(STATUS "no SDL under board/ or ui/")
