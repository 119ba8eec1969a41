#include "app/win32/shell.h"

#include "core/win32/fatal-error.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/settle-frame-on-window-change.h"
#include "ui/win32/shell-command-host.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/window-places.h"

Shell::Shell()
    : layout({mainHandles, renderer, editor}),
      views({camera, editor, ship, layout, mainHandles, flight}),
      palette({paletteHandles, session, shapeHandles, camera, ship, mainHandles, layout, views}),
      mouse({session, camera, ship, pickAccelerator, shipCopy, inputTiming, renderer, mainHandles,
             layout, paletteHandles, palette, shapeHandles}),
      shape(shapeHandles, session, palette),
      overlays({editor, camera, ship, ship, shipCopy, renderer, paletteHandles, shapeHandles}),
      reference({renderer, editor, camera}),
      scene({renderer, mainHandles, editor, camera, ship, shipCopy, overlays, palette, reference,
             layout}),
      main({mainHandles, renderer, session, editor, camera, flight, shapeHandles, shape, palette,
            mouse, scene, layout, document, files}) {
    connectStatusBar({mainHandles, editor, document});
    connectWindowPlaces({mainHandles, paletteHandles, shapeHandles, placingToolWindows});
    connectRecovery({recovery, document, editor});
    connectDocumentCommands({mainHandles, shapeHandles, session, shownTiming, prompts, files});
    connectShellCommands({mouse, palette, layout, reference, scene.display(), views, document,
                          session, camera, ship, mainHandles, paletteHandles, shapeHandles,
                          inputTiming, shownTiming});
}

// Nothing outside the shell reaches its parts once it is gone.
Shell::~Shell() {
    SetUnhandledExceptionFilter(nullptr);
    setBeforeFatalExit(nullptr);
    settleFrameOnWindowChange(nullptr);
}

void Shell::readStartupSettings() {
    openSessionSettings();
    editor.loadSession(sessionSettings());
    camera.load(sessionSettings());
    // The single view's axis views are drawn orthographically, the orbit view is not.
    const ViewMode view = editor.currentView;
    camera.orthographic =
        view == ViewMode::Top || view == ViewMode::Side || view == ViewMode::Front;
}
