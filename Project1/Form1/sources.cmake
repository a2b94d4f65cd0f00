# The stored window definition: its code page, its reader and its writer, and the layout of the
# picture files it carries. Plain C++ only, so the build-time tools and any front end can share it.
target_sources(zanthera_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CodePage1256.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionBytes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionPictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionProperties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DefinitionWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModelSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ValueRules.cpp
)
