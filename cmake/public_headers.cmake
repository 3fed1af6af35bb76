# The headers a host compiles against: those that declare the exported classes
# and functions, plus every project header they include, so each installed
# header compiles on its own. Internal headers that no exported one needs stay out.
set(KVAVTR_EXPORTED_HEADERS
  base/veltrun_directory.h
  frame/dll_lifecycle.h
  imaging/kv_aimage.h
  gif/kv_ani_dib_list.h
  avatar_id/avtr_id.h
  avatar_id/avtr_id_conv.h
  parts/avtr_part.h
  parts/avtr_part_pool.h
  layered/avtr2004.h
  layered/avtr_tick_handler.h
  layered/default_avatars.h
  legacy/kv_avtr.h
  legacy/anonymous_avatar.h
  legacy/legacy_tables.h
  gif/kv_anigif_list.h
  animated/kv_ani_avatar.h
  animated/kv_avatar.h)

# Headers that are not in this tree yet are left out.
function(kvavtr_public_headers out)
  set(pending "")
  foreach(header ${KVAVTR_EXPORTED_HEADERS})
    if(EXISTS ${CMAKE_SOURCE_DIR}/src/${header})
      list(APPEND pending ${header})
    endif()
  endforeach()
  set(found "")
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    list(APPEND found ${header})
    file(STRINGS ${CMAKE_SOURCE_DIR}/src/${header} includes REGEX "^#include \"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
