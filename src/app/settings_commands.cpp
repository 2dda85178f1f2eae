#include "app/form1.h"

namespace quorvik::app {

void Form1::Command1_Click() {}
void Form1::Command2_Click() {}
void Form1::save_Click() {}
void Form1::Backup_Click() {}

}  // namespace quorvik::app
