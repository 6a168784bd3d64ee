# The settings dialog's decisions as plain functions (input checks, page
# rules, the history organiser's actions, the joins of dropped names), kept
# apart from the windows so that the unit tests link exactly this code.
set(VARO_SETTING_DECISIONS_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(varo_setting_decisions STATIC
    ${VARO_SETTING_DECISIONS_DIR}/checks/check_message.cpp
    ${VARO_SETTING_DECISIONS_DIR}/checks/confirmation_checks.cpp
    ${VARO_SETTING_DECISIONS_DIR}/checks/field_checks.cpp
    ${VARO_SETTING_DECISIONS_DIR}/checks/text_cleanup.cpp
    ${VARO_SETTING_DECISIONS_DIR}/drop_names/drop_names.cpp
    ${VARO_SETTING_DECISIONS_DIR}/history_organiser/organiser_actions.cpp
    ${VARO_SETTING_DECISIONS_DIR}/pages/conditions_dates.cpp
    ${VARO_SETTING_DECISIONS_DIR}/pages/conditions_rules.cpp
    ${VARO_SETTING_DECISIONS_DIR}/pages/copy_to_rules.cpp
    ${VARO_SETTING_DECISIONS_DIR}/pages/sub_dialog_keys.cpp
)
target_include_directories(varo_setting_decisions PUBLIC ${VARO_SETTING_DECISIONS_DIR})
target_link_libraries(varo_setting_decisions PUBLIC varo_common)
