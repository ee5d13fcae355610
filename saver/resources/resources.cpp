#include "saver/resources/resources.h"

#include "saver/resources/dialog_templates.h"

const platform::ProgramResources& SaverResources() {
    static const platform::ProgramResources resources{SaverDialogs, SaverDialogCount, SaverIcons, SaverIconCount};
    return resources;
}
