// The XML wrapper classes in one include: documents, nodes, lists, attribute maps and the
// exception they throw.
#pragma once

#include "common/xml/my_exception.h"
#include "common/xml/xml_document.h"
#include "common/xml/xml_element.h"
#include "common/xml/xml_named_node_map.h"
#include "common/xml/xml_node.h"
#include "common/xml/xml_node_list.h"
