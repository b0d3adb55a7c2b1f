// The main window's library; its sources land beside this file.
namespace tolv::ui {}
