# Link libraries of the Win32 backend (included by gui/CMakeLists.txt with the
# target tk_gui): window and message services, GDI drawing, TransparentBlt.
target_link_libraries(tk_gui PUBLIC user32 gdi32 msimg32)
# The bitmaps come from the library's BITMAP resources (LoadBitmapA in
# bitmap_resource_win32.cpp), not from copies embedded in the code.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/bitmap_resource_embedded.cpp
                            PROPERTIES HEADER_FILE_ONLY TRUE)
