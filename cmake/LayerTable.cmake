# The layers and the layers each one may include, read by the include check and the build.
# A layer is a folder; the first path component of an include names the layer it reaches.
# Keep docs/architecture.md in step with this table.

set(ZYL_LAYERS picture layout render link session sim editors app cli)

set(ZYL_LAYER_USES_picture "")
set(ZYL_LAYER_USES_layout picture)
set(ZYL_LAYER_USES_render layout picture)
set(ZYL_LAYER_USES_link "")
set(ZYL_LAYER_USES_session link layout)
set(ZYL_LAYER_USES_sim link layout)
set(ZYL_LAYER_USES_editors render layout picture)
# app and cli name link's types that session's interface hands them.
set(ZYL_LAYER_USES_app editors session render layout picture link)
set(ZYL_LAYER_USES_cli session render layout picture link)

# Shared test support is held to the same rules: the plain part serves every suite, so it stays
# free of Qt and of the layers above sim; the qt part serves the window and dialog suites.
set(ZYL_CHECKED_FOLDERS
    picture=src/picture layout=src/layout render=src/render link=src/link session=src/session sim=src/sim
    editors=src/editors app=src/app cli=src/cli support=tests/support support_qt=tests/support/qt)
set(ZYL_LAYER_USES_support picture layout render link session sim)
set(ZYL_LAYER_USES_support_qt picture layout render link session sim editors support)

# Only these may include a Qt header.
set(ZYL_QT_LAYERS editors app support_qt)
