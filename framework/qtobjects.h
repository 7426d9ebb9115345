#pragma once

class QObject;

// The parent of the framework's non-widget Qt objects. It and every top-level
// widget are deleted while the Qt application is torn down, so framework
// objects that outlive it find their Qt side already gone.
QObject* QtObjectRoot();
