# Windows-only parts of the plug-in module: the exports, the panel bitmaps as
# BITMAP resources, and the system libraries of the Win32 services.
# Included by the top-level list after the targets exist.
enable_language(RC)

target_sources(Tarvokin PRIVATE ${CMAKE_SOURCE_DIR}/cmake/tarvokin.def)
# The script names its bitmaps relative to resources/; windres finds them
# through the include path, and the DLL is relinked when one changes.
set(tarvokin_rc ${CMAKE_SOURCE_DIR}/resources/tarvokin.rc)
if(EXISTS ${tarvokin_rc}) # TEMPORARY guard while resources/ is written
  target_sources(Tarvokin PRIVATE ${tarvokin_rc})
  file(GLOB tarvokin_bitmaps CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
  set_source_files_properties(${tarvokin_rc} PROPERTIES
                              INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/resources
                              OBJECT_DEPENDS "${tarvokin_bitmaps}")
else()
  message(WARNING "resources/tarvokin.rc missing: the DLL carries no panel bitmaps")
endif()
set_target_properties(Tarvokin PROPERTIES SUFFIX ".dll")
target_link_options(Tarvokin PRIVATE "LINKER:--no-undefined")

# Tick count, sleep, paint messages, cursor (kernel32, user32) and OLE (ole32);
# gui/win32/backend.cmake adds the GDI backend's libraries.
target_link_libraries(tk_platform PUBLIC user32 ole32)
