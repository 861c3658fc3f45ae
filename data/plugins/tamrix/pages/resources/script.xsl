<?xml version="1.0" encoding="UTF-8"?>
<!-- The script of every repository page. The repository plug-in calls "_reload" when the
     repository file has changed, so that a page shows what is stored now. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:template name="script">
<script type="text/javascript"><xsl:text disable-output-escaping="yes"><![CDATA[
function _reload() {
  window.location.reload();
}
]]></xsl:text></script>
</xsl:template>
</xsl:stylesheet>
