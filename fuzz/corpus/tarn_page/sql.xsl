<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:define name="content_type" value="text/html"/>
<Tarn database="test.db"><request name="entries" method="SQL" value="select id, title from entry where folder = 'news' order by title"/>
<if test="LEN('abc') = 3"><request name="one" method="SQL" value="select count(*) as n from entry"/></if></Tarn>
<xsl:variable name="kind" select="'{$request_value}'"/>
<xsl:template match="/"><html><body><xsl:for-each select="//item"><p><xsl:value-of select="title"/></p></xsl:for-each></body></html></xsl:template>
</xsl:stylesheet>
