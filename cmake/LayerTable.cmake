# The layers and the layers each one may include, read by the include check and the build.
# A layer is a folder; the first path component of an include names the layer it reaches.
# Keep docs/architecture.md in step with this table.

set(ZYL_LAYERS base picture layout render textform panel link session sim editors simview app cli)

# base is header-only byte helpers that every layer may use.
set(ZYL_LAYER_USES_base "")
set(ZYL_LAYER_USES_picture base)
set(ZYL_LAYER_USES_layout picture base)
set(ZYL_LAYER_USES_render layout picture base)
# textform is the layout's JSON text form, written and read without Qt.
set(ZYL_LAYER_USES_textform layout picture base)
# panel is what a panel does with a layout (pages, touches, timers), without Qt.
set(ZYL_LAYER_USES_panel render layout picture base)
set(ZYL_LAYER_USES_link base)
set(ZYL_LAYER_USES_session link layout base)
set(ZYL_LAYER_USES_sim panel render link layout picture base)
set(ZYL_LAYER_USES_editors panel render textform layout picture base)
# simview is the simulator program with its screen window (Qt).
set(ZYL_LAYER_USES_simview sim editors panel render layout picture link base)
# app and cli name link's types that session's interface hands them.
set(ZYL_LAYER_USES_app editors panel session render layout picture link base)
set(ZYL_LAYER_USES_cli session panel render textform layout picture link base)

# Shared test support is held to the same rules: the plain part serves every suite, so it stays
# free of Qt and of the layers above sim; the qt part serves the window and dialog suites.
set(ZYL_CHECKED_FOLDERS
    base=src/base picture=src/picture layout=src/layout render=src/render textform=src/textform panel=src/panel link=src/link session=src/session sim=src/sim
    editors=src/editors simview=src/simview app=src/app cli=src/cli support=tests/support support_qt=tests/support/qt)
set(ZYL_LAYER_USES_support base picture layout render panel link session sim)
set(ZYL_LAYER_USES_support_qt base picture layout render panel link session sim editors support)

# Only these may include a Qt header.
set(ZYL_QT_LAYERS editors simview app support_qt)
